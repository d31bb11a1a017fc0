#pragma once

#include <cstddef>
#include <cstdint>
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
  std::string verdict;  // the true one
  std::string detail;   // the call worked of a busted call, what was sent of a busted exchange
};

// The detail of a line answered by one that could not be read, whatever
// that line's number.
inline constexpr const char* kUnreadableAnswer = "their line could not be read";

struct SimulatedLog {
  std::string call;
  std::int64_t clockOffset = 0;    // minutes the log's clock runs ahead
  std::vector<SimulatedQso> qsos;  // in time order, as a logger writes them
};

struct ContestShape {
  std::size_t logs = 40;            // stations that send a log
  std::size_t silentStations = 10;  // stations on the air that send none
  std::size_t qsosPerLog = 60;      // about
  std::size_t clocksOff = 3;        // logs whose clock runs 7 to 15 minutes off
  double errorShare =
      0.04;  // of each kind: NIL, busted call and exchange, unique, dupe, unreadable
  std::uint64_t seed = 1;
};

std::vector<SimulatedLog> SimulateContest(const ContestShape& shape);

// A log as a logger would write it.
std::string CabrilloText(const SimulatedLog& log);
std::string AdifText(const SimulatedLog& log);

}  // namespace zeltra::test
