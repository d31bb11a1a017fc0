#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zeltra::test {

// A contest made up to check the log check against: stations work each
// other, both sides log each QSO, and errors are put in on purpose, each
// line knowing the verdict the check must give it.
struct SimulatedQso {
  std::string call;
  std::string band;     // "14"
  std::int64_t minute;  // as the log's clock says, minutes since 1970
  std::string sent;
  std::string received;
  std::string verdict;  // the true one; "left-out" for a line after the period's end
  std::string detail;   // the call worked of a busted call, what was sent of a busted exchange
  // ok: how the other station logged this log's call, where it is not
  // the call the log signs.
  std::string loggedAs;
  // An error of one side found: "band", "clock" or "serial"; ownFault:
  // this line's side made it (and loses the QSO).
  std::string fault;
  bool ownFault = false;
};

// The detail of a line answered by one that could not be read, whatever
// that line's number.
inline constexpr const char* kUnreadableAnswer = "their line could not be read";
// The detail of a line answered by one the contest does not count.
inline constexpr const char* kLeftOutAnswer = "their line is left out";

struct SimulatedLog {
  std::string call;                // as the log signs, designator and all
  std::string name;                // a name for its file, each log's own
  std::int64_t clockOffset = 0;    // minutes the log's clock runs ahead
  std::vector<SimulatedQso> qsos;  // in time order, as a logger writes them
};

// The contest runs 24 hours from here; a line logged at its end or later
// is left out.
inline constexpr const char* kContestStart = "202612050000";
inline constexpr const char* kContestEnd = "2026-12-06 00:00";

// What real contests do, each made in every contest: run stations work
// bursts of two to four QSOs a minute, others search more slowly, and
// the small hours are quiet; some stations sign portable or mobile and
// their partners log them with or without it; loggers write reports as
// 599, 59 or 5NN; a QSO or two straddle the period's end; one station
// logs a QSO of a run on another band, one has its clock 12 hours off for
// its last QSOs, one's log has its sent serials one above what it sent,
// and one station sends two logs, one for each of its two places.
struct ContestShape {
  std::size_t logs = 40;            // stations that send a log
  std::size_t silentStations = 10;  // stations on the air that send none
  std::size_t qsosPerLog = 60;      // about
  std::size_t clocksOff = 3;        // logs whose clock runs 7 to 15 minutes off
  double errorShare =
      0.04;  // of each kind: NIL, busted call and exchange, unique, dupe, unreadable
  // The verdicts as a check that charges a sender for its logger's serials
  // gives them.
  bool penalizeSentSerial = false;
  // What contests of other rules, and other operators, do; each only when
  // asked. Stations work each other again on a band this long (at least
  // 20 minutes; 0: never) after their QSO there, as the rules allow:
  std::int64_t reworkMinutes = 0;
  // Every station sends two serials, its own and the last it received, as
  // domestic contests have them:
  bool twoSerials = false;
  // A quarter of the loggers write reports of two figures that vary (51 to
  // 59), what they sent and what they copied:
  bool varyingReports = false;
  // This share of QSOs has one side copy the other's call as the call of
  // another station that sent a log and that it worked at another time:
  double entrantMiscopies = 0;
  std::uint64_t seed = 1;
};

std::vector<SimulatedLog> SimulateContest(const ContestShape& shape);
// The same contest, each log handed on as soon as it is made, so that a
// contest of millions of lines is never held whole as text.
void SimulateContest(const ContestShape& shape, const std::function<void(SimulatedLog&&)>& each);

// A log as a logger would write it.
std::string CabrilloText(const SimulatedLog& log);
std::string AdifText(const SimulatedLog& log);

}  // namespace zeltra::test
