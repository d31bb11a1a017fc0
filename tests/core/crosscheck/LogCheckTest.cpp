#include "core/crosscheck/LogCheck.h"
#include "core/crosscheck/LogLines.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/crosscheck/StationCall.h"
#include "core/text/UtcMinute.h"
#include "support/SimulatedContest.h"
#include "support/SimulatedLines.h"

namespace zeltra {
namespace {

struct Line {
  std::string hhmm;
  std::string call;
  std::string band;
  std::string sent;
  std::string received;
  std::string verdict;  // what the check must find
  std::string detail = {};
  std::string mode = "RTTY";
};

struct Station {
  std::string call;
  std::vector<Line> lines;
};

std::int64_t Minute(const std::string& hhmm) {
  return *UtcMinuteOf("20261206" + hhmm);
}

LogCheck Checked(const std::vector<Station>& stations, CheckRules rules = {}) {
  LogCheck check(rules);
  for (const Station& station : stations) {
    LogLines lines(station.call);
    std::size_t position = 0;
    for (const Line& line : station.lines)
      lines.Add({.position = ++position,
                 .call = line.call,
                 .band = line.band,
                 .mode = line.mode,
                 .minute = Minute(line.hhmm),
                 .sent = line.sent,
                 .received = line.received});
    check.AddLog(lines);
  }
  check.Run();
  return check;
}

// The simulated logs into a check, each a log of its own (a station that
// moved sent two, which the check takes as one). extra: lines to put
// first into a log's lines, by its number.
void AddContest(LogCheck& check, const std::vector<test::SimulatedLog>& logs,
                const std::function<void(std::size_t, LogLines&)>& extra = {}) {
  for (std::size_t k = 0; k < logs.size(); ++k) {
    LogLines lines(logs[k].call);
    if (extra) extra(k, lines);
    test::AddSimulatedLines(lines, logs[k]);
    check.AddLog(lines);
  }
}

test::ContestShape SimulatedShape(std::size_t logs, std::size_t silent, std::size_t qsos,
                                  std::uint64_t seed) {
  test::ContestShape shape;
  shape.logs = logs;
  shape.silentStations = silent;
  shape.qsosPerLog = qsos;
  shape.seed = seed;
  return shape;
}

void ExpectVerdicts(const LogCheck& check, const std::vector<Station>& stations) {
  for (std::size_t log = 0; log < stations.size(); ++log) {
    ASSERT_EQ(check.QsoCount(log), stations[log].lines.size());
    for (std::size_t i = 0; i < stations[log].lines.size(); ++i) {
      const Line& line = stations[log].lines[i];
      const CheckedQso qso = check.Qso(log, i);
      EXPECT_EQ(VerdictName(qso.verdict), line.verdict)
          << stations[log].call << " line " << i + 1 << " " << line.call;
      EXPECT_EQ(qso.detail, line.detail) << stations[log].call << " line " << i + 1;
    }
  }
}

// A contest small enough to check by hand. SP4EEE's clock runs 12 minutes
// fast; DL1DDD sends serial numbers, the others their voivodeship.
std::vector<Station> HandWorkedContest() {
  return {
      {"SP1AAA",
       {
           {"1000", "SP2BBB", "14", "599 K", "599 M", "ok"},
           {"1005", "SP3CCC", "14", "599 K", "599 B", "ok"},
           {"1010", "DL1DDD", "14", "599 K", "599 1", "ok"},  // 001 by its value
           {"1015", "SP4EEE", "14", "599 K", "599 W", "ok"},  // 1027 on its fast clock
           {"1020", "SP2BBB", "14", "599 K", "599 M", "dupe"},
           {"1025", "SP2BBB", "7", "599 K", "599 M", "nil"},
           {"1030", "SP3CCX", "7", "599 K", "599 B", "busted-call", "SP3CCC"},
           {"1035", "SP2BBB", "21", "599 K", "599 G", "busted-exchange", "599 M"},
           {"1040", "SP9ZZZ", "14", "599 K", "599 L", "unchecked"},
           {"1045", "SP8QQQ", "14", "599 K", "599 L", "unique", "SP8QQR"},
           // DL1DDD copied this call wrongly: the QSO stands here.
           {"1050", "DL1DDD", "7", "599 K", "599 4", "ok"},
       }},
      {"SP2BBB",
       {
           {"1000", "SP1AAA", "14", "599 M", "599 K", "ok"},
           {"1035", "SP1AAA", "21", "599 M", "599 K", "ok"},
           {"1040", "SP9ZZZ", "7", "599 M", "599 L", "unchecked"},
           {"1046", "SP8QQR", "14", "599 M", "599 L", "unique", "SP8QQQ"},
           {"1003", "SP3CCC", "14", "599 M", "599 B", "ok"},
           {"1005", "DL1DDD", "14", "599 M", "599 002", "ok"},
           {"1016", "SP4EEE", "14", "599 M", "599 W", "ok"},
           // Copied exactly as sent: no report to take out.
           {"1142", "OK7HHH", "14", "599 M", "145 257", "ok"},
       }},
      {"SP3CCC",
       {
           {"1005", "SP1AAA", "14", "599 B", "599 K", "ok"},
           {"1003", "SP2BBB", "14", "599 B", "599 M", "ok"},
           // SP1AAA logged this one as SP3CCX: this side keeps it.
           {"1031", "SP1AAA", "7", "599 B", "599 K", "ok"},
           {"1017", "SP4EEE", "14", "599 B", "599 W", "ok"},
           {"1012", "DL1DDD", "14", "599 B", "599 003", "ok"},
       }},
      {"DL1DDD",
       {
           {"1010", "SP1AAA", "14", "599 001", "599 K", "ok"},
           {"1005", "SP2BBB", "14", "599 002", "599M", "ok"},
           {"1012", "SP3CCC", "14", "599 003", "599 b", "ok"},
           {"1050", "SP1AAB", "7", "599 004", "599 K", "busted-call", "SP1AAA"},
           {"1018", "SP4EEE", "14", "599 005", "599 W", "ok"},
       }},
      {"SP4EEE",
       {
           {"1027", "SP1AAA", "14", "599 W", "599 K", "ok"},
           {"1028", "SP2BBB", "14", "599 W", "599 M", "ok"},
           {"1029", "SP3CCC", "14", "599 W", "599 B", "ok"},
           {"1030", "DL1DDD", "14", "599 W", "599 5", "ok"},
       }},
      // What a real contest's logs taught: a line logged wrong and again
      // right, a pair chosen by what agrees rather than by time, a call
      // copied far off, a lost figures shift, a serial that looks like a
      // report.
      {"SP5FFF",
       {
           // Logged first with the exchange garbled, again right: the
           // second is the QSO, the first nothing confirms.
           {"1100", "SP6GGG", "14", "599 F", "599 Z", "nil"},
           {"1103", "SP6GGG", "14", "599 F", "599 G", "ok"},
           {"1111", "SP6GGG", "21", "599 F", "599 G", "ok"},
           // A call copied far off, the exchanges agreeing both ways.
           {"1120", "UA9XYZ", "7", "599 F", "599 G", "busted-call", "SP6GGG"},
           {"1130", "SP6GGG", "28", "599 F", "599 G", "ok"},
           // Its serial copied one figure off: 143 is no report.
           {"1140", "OK7HHH", "14", "599 F", "153 257", "busted-exchange", "143 257"},
       }},
      {"SP6GGG",
       {
           {"1103", "SP5FFF", "14", "599 G", "599 F", "ok"},
           // The nearer line disagrees, the farther one agrees both ways.
           {"1110", "SP5FFF", "21", "599 G", "599 Z", "nil"},
           {"1113", "SP5FFF", "21", "599 G", "599 F", "ok"},
           {"1120", "SP5FFF", "7", "599 G", "599 F", "ok"},
           // The figures shift lost: 5 printed as T.
           {"1130", "SPTFFF", "28", "599 G", "599 F", "busted-call", "SP5FFF"},
           {"1141", "OK7HHH", "14", "599 G", "144 257", "ok"},
       }},
      // Serial numbers and a district, no report: its log says so.
      {"OK7HHH",
       {
           {"1140", "SP5FFF", "14", "143 257", "599 F", "ok"},
           {"1141", "SP6GGG", "14", "144 257", "599 G", "ok"},
           {"1142", "SP2BBB", "14", "145 257", "599 M", "ok"},
       }},
  };
}

TEST(LogCheck, HandWorkedContestGivesEachLineItsVerdict) {
  const std::vector<Station> stations = HandWorkedContest();
  const LogCheck check = Checked(stations);
  ExpectVerdicts(check, stations);
  const std::vector<std::int64_t> offsets = {0, 0, 0, 0, 12, 0, 0, 0};
  for (std::size_t log = 0; log < offsets.size(); ++log)
    EXPECT_EQ(check.ClockOffset(log), offsets[log]) << stations[log].call;
}

TEST(LogCheck, PartnersAnswerEachOther) {
  const LogCheck check = Checked(HandWorkedContest());
  // SP1AAA's busted call is answered by SP3CCC's line 3; DL1DDD's by SP1AAA's line 11.
  const CheckedQso busted = check.Qso(0, 6);
  ASSERT_TRUE(busted.partnerLog.has_value());
  EXPECT_EQ(*busted.partnerLog, 2u);
  EXPECT_EQ(busted.partnerPosition, 3u);
  const CheckedQso copiedWrongly = check.Qso(3, 3);
  ASSERT_TRUE(copiedWrongly.partnerLog.has_value());
  EXPECT_EQ(*copiedWrongly.partnerLog, 0u);
  EXPECT_EQ(copiedWrongly.partnerPosition, 11u);
  EXPECT_FALSE(check.Qso(0, 5).partnerLog.has_value());  // the NIL
}

TEST(LogCheck, TheWindowAndTheClockDecideWhatMatches) {
  struct Case {
    const char* name;
    std::string otherTime;  // SP2BBB's time of the QSO SP1AAA logged at 1000
    std::int64_t window;
    std::string verdict;
  };
  const std::vector<Case> cases = {
      {"same minute", "1000", 5, "ok"},        {"at the window's edge", "1005", 5, "ok"},
      {"a minute outside", "1006", 5, "nil"},  {"before, at the edge", "0955", 5, "ok"},
      {"before, outside", "0954", 5, "nil"},   {"a wider window", "1010", 10, "ok"},
      {"a narrower window", "1002", 1, "nil"},
  };
  for (const Case& test : cases) {
    const std::vector<Station> stations = {
        {"SP1AAA", {{"1000", "SP2BBB", "14", "599 K", "599 M", test.verdict}}},
        {"SP2BBB", {{test.otherTime, "SP1AAA", "14", "599 M", "599 K", test.verdict}}},
    };
    SCOPED_TRACE(test.name);
    ExpectVerdicts(Checked(stations, {.windowMinutes = test.window, .reworkMinutes = {}}),
                   stations);
  }
}

TEST(LogCheck, TheEvidencePicksTheStationOneSlipAway) {
  // SP1AAA logged SP2BBX; both SP2BBB and SP2BBC logged SP1AAA then, with
  // the same exchanges: SP2BBB, nearer in time, is the station worked.
  const std::vector<Station> nearer = {
      {"SP1AAA", {{"1000", "SP2BBX", "14", "599 K", "599 M", "busted-call", "SP2BBB"}}},
      {"SP2BBB", {{"1000", "SP1AAA", "14", "599 M", "599 K", "ok"}}},
      {"SP2BBC", {{"1001", "SP1AAA", "14", "599 M", "599 K", "nil"}}},
  };
  ExpectVerdicts(Checked(nearer), nearer);
  // SP2BBC's exchanges agree both ways, SP2BBB's do not: SP2BBC it was.
  const std::vector<Station> agreeing = {
      {"SP1AAA", {{"1000", "SP2BBX", "14", "599 K", "599 B", "busted-call", "SP2BBC"}}},
      {"SP2BBB", {{"1000", "SP1AAA", "14", "599 M", "599 K", "nil"}}},
      {"SP2BBC", {{"1001", "SP1AAA", "14", "599 B", "599 K", "ok"}}},
  };
  ExpectVerdicts(Checked(agreeing), agreeing);
  // As near and as agreeing: which one it was cannot be told, so no busted
  // call: SP2BBX sent no log and no other log holds it.
  const std::vector<Station> tied = {
      {"SP1AAA", {{"1000", "SP2BBX", "14", "599 K", "599 M", "unique", "SP2BBB"}}},
      {"SP2BBB", {{"1000", "SP1AAA", "14", "599 M", "599 K", "nil"}}},
      {"SP2BBC", {{"1000", "SP1AAA", "14", "599 M", "599 K", "nil"}}},
  };
  ExpectVerdicts(Checked(tied), tied);
}

TEST(LogCheck, LinesAreTakenOnceAndOnlyByWhatTheyCanBe) {
  struct Case {
    const char* name;
    std::vector<Station> stations;
  };
  const std::vector<Case> cases = {
      {"a log working itself is confirmed by no one, not even a call one slip away",
       {{"SP1AAA", {{"1000", "SP1AAA", "14", "599 K", "599 K", "nil"}}},
        {"SP1AAB", {{"1000", "SP1AAA", "14", "599 K", "599 K", "nil"}}}}},
      {"a station that sent a log is likely meant when any line of its log was on the air then",
       {{"SP1AAA", {{"1045", "SP8QQQ", "14", "599 K", "599 L", "unique", "SP8QQR"}}},
        {"SP8QQR",
         {{"0900", "SP9ZZZ", "7", "599 L", "599 Z", "unique"},
          {"1046", "SP9ZZY", "14", "599 L", "599 Z", "unique"}}}}},
      {"a call one slip from a unique's held by the same log only is not named",
       {{"SP1AAA",
         {{"1000", "SP8QQQ", "14", "599 K", "599 L", "unique"},
          {"1001", "SP8QQR", "14", "599 K", "599 L", "unique"}}}}},
      {"a first line logged wrong, logged again right: the right one is the QSO",
       {{"SP1AAA",
         {{"1000", "SP2BBB", "14", "599 K", "599 Z", "nil"},
          {"1003", "SP2BBB", "14", "599 K", "599 M", "ok"}}},
        {"SP2BBB", {{"1003", "SP1AAA", "14", "599 M", "599 K", "ok"}}}}},
      {"a pair agreeing both ways beats a nearer one agreeing one way",
       {{"SP1AAA", {{"1001", "SP2BBB", "14", "599 K", "599 M", "ok"}}},
        {"SP2BBB",
         {{"1000", "SP1AAA", "14", "599 M", "599 Q", "nil"},
          {"1004", "SP1AAA", "14", "599 M", "599 K", "ok"}}}}},
      {"a repeat after the QSO is a dupe, confirmed or not",
       {{"SP1AAA",
         {{"1000", "SP2BBB", "14", "599 K", "599 M", "ok"},
          {"1002", "SP2BBB", "14", "599 K", "599 M", "dupe"},
          {"1030", "SP2BBB", "14", "599 K", "599 M", "dupe"}}},
        {"SP2BBB",
         {{"1000", "SP1AAA", "14", "599 M", "599 K", "ok"},
          {"1002", "SP1AAA", "14", "599 M", "599 K", "dupe"}}}}},
      {"a copy far from the call whose exchanges agree both ways: the copier's line is busted",
       {{"SP1AAA", {{"1000", "SP2BBB", "14", "599 K", "599 M", "ok"}}},
        {"SP2BBB", {{"1001", "SQ9XYZ", "14", "599 M", "599 K", "busted-call", "SP1AAA"}}}}},
      {"a call printed after a lost shift, its figure as the letter on its key",
       {{"SP1AAA", {{"1000", "SPWBBB", "14", "599 K", "599 M", "busted-call", "SP2BBB"}}},
        {"SP2BBB", {{"1000", "SP1AAA", "14", "599 M", "599 K", "ok"}}}}},
      {"no copy when the call logged was on the air: other logs hold it",
       {{"SP1AAA", {{"1000", "SP2BBB", "14", "599 K", "599 M", "nil"}}},
        {"SP2BBB", {{"1001", "SQ9XYZ", "14", "599 M", "599 K", "unchecked"}}},
        {"SP3CCC", {{"1003", "SQ9XYZ", "14", "599 B", "599 K", "unchecked"}}}}},
      {"no copy when the exchanges do not agree both ways",
       {{"SP1AAA", {{"1000", "SP2BBB", "14", "599 K", "599 M", "nil"}}},
        {"SP2BBB", {{"1001", "SQ9XYZ", "14", "599 M", "599 B", "unique"}}}}},
      {"the same call on the same band in another mode is no dupe",
       {{"SP1AAA",
         {{"1000", "SP2BBB", "14", "599 K", "599 M", "ok"},
          {"1005", "SP2BBB", "14", "599 K", "599 M", "ok", "", "PSK"},
          {"1010", "SP2BBB", "14", "599 K", "599 M", "dupe"}}},
        {"SP2BBB",
         {{"1000", "SP1AAA", "14", "599 M", "599 K", "ok"},
          {"1005", "SP1AAA", "14", "599 M", "599 K", "ok", "", "PSK"}}}}},
      // The busted line is SP2BBB's QSO, not SP2BBX's again.
      {"a busted call is no line of the call it names: it is busted, not a dupe",
       {{"SP1AAA",
         {{"0900", "SP2BBX", "14", "599 K", "599 M", "unique"},
          {"1000", "SP2BBX", "14", "599 K", "599 M", "busted-call", "SP2BBB"}}},
        {"SP2BBB", {{"1000", "SP1AAA", "14", "599 M", "599 K", "ok"}}}}},
      // (SP2BBD copied SP1AAA's exchange wrongly, so that no reverse bust
      // finds it.)
      {"two stations alike, then a third that agrees better: the third",
       {{"SP1AAA", {{"1000", "SP2BBX", "14", "599 K", "599 D", "busted-call", "SP2BBD"}}},
        {"SP2BBB", {{"1001", "SP1AAA", "14", "599 B", "599 Q", "nil"}}},
        {"SP2BBC", {{"1001", "SP1AAA", "14", "599 C", "599 Q", "nil"}}},
        {"SP2BBD", {{"1001", "SP1AAA", "14", "599 D", "599 Q", "busted-exchange", "599 K"}}}}},
      {"a copy whose exchanges agree with two stations' lines is the nearer one's, once",
       {{"SP1AAA", {{"1000", "SP2BBB", "14", "599 K", "599 M", "ok"}}},
        {"SP2BBB", {{"1001", "SQ9XYZ", "14", "599 M", "599 K", "busted-call", "SP1AAA"}}},
        {"SP3CCC", {{"1003", "SP2BBB", "14", "599 K", "599 M", "nil"}}}}},
      {"a line already matched is no busted call's other side",
       {{"SP1AAA",
         {{"1000", "SP2BBB", "14", "599 K", "599 M", "ok"},
          {"1002", "SP2BBC", "14", "599 K", "599 M", "unique", "SP2BBB"}}},
        {"SP2BBB", {{"1000", "SP1AAA", "14", "599 M", "599 K", "ok"}}}}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    ExpectVerdicts(Checked(test.stations), test.stations);
  }
}

// X copied A's call wrongly during a run: X's log holds, nearer the time
// of A's line than its line with the wrong call, a stretch of QSOs on that
// band that their partners confirm. However busy the stretch, A keeps the QSO and X's line is the
// busted one; lines paired already do not hide it.
TEST(LogCheck, AReverseBustIsFoundBehindABusyRun) {
  for (const int before : {0, 2, 7, 8, 12, 30}) {
    SCOPED_TRACE(std::to_string(before) + " QSOs in the run around it");
    std::vector<Station> stations = {
        {"SP1AAA", {{"1005", "DL1RUN", "14", "599 K", "599 001", "ok"}}},
        {"DL1RUN", {}},
    };
    for (int n = 0; n < before; ++n) {
      // The run's partners, each confirming its QSO, packed into the five
      // minutes around SP1AAA's line, nearer to it than the busted line.
      const std::string call = "OK" + std::to_string(n % 10) + "R" +
                               std::string(1, static_cast<char>('A' + n / 10)) + "Q";
      const std::string minute = "100" + std::to_string(3 + n * 5 / before);
      stations[1].lines.push_back({minute, call, "14", "599 001", "599 1", "ok"});
      stations.push_back({call, {{minute, "DL1RUN", "14", "599 1", "599 001", "ok"}}});
    }
    stations[1].lines.push_back(
        {"1008", "UA9XYZ", "14", "599 001", "599 K", "busted-call", "SP1AAA"});
    ExpectVerdicts(Checked(stations), stations);
  }
}

// A station signing with a designator, or worked as one, is one station:
// the lines match by the call with its designators set aside, and an ok
// line says how the other log has this station's call.
TEST(LogCheck, PortableDesignatorsNameOneStation) {
  struct Case {
    const char* name;
    std::string header;  // SP1AAA's own call
    std::string logged;  // SP1AAA as SP2BBB logged it
  };
  const Case cases[] = {
      {"worked as portable", "SP1AAA", "SP1AAA/P"},
      {"signing portable, worked plain", "SP1AAA/P", "SP1AAA"},
      {"mobile", "SP1AAA", "SP1AAA/M"},
      {"maritime mobile", "SP1AAA/MM", "SP1AAA"},
      {"aeronautical mobile", "SP1AAA", "SP1AAA/AM"},
      {"low power", "SP1AAA", "SP1AAA/QRP"},
      {"another location", "SP1AAA", "SP1AAA/A"},
      {"a call area", "SP1AAA", "SP1AAA/3"},
      {"abroad", "SP1AAA", "OK/SP1AAA"},
      {"abroad and portable, both sides", "OK/SP1AAA/P", "SP1AAA/P"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<Station> stations = {
        {c.header,
         {{"1000", "SP2BBB", "14", "599 K", "599 M", "ok"},
          {"1010", "SP2BBB", "7", "599 K", "599 M", "ok"},
          {"1020", "SP2BBB", "7", "599 K", "599 M", "dupe"}}},
        {"SP2BBB",
         {{"1000", c.logged, "14", "599 M", "599 K", "ok"},
          {"1010", c.logged, "7", "599 M", "599 K", "ok"}}},
    };
    const LogCheck check = Checked(stations);
    ExpectVerdicts(check, stations);
    EXPECT_EQ(check.OwnCall(0), c.header);
    EXPECT_EQ(check.Qso(1, 0).call, c.logged);  // the call as logged, for its multiplier
    EXPECT_EQ(check.Qso(1, 1).band, "7");
    EXPECT_EQ(check.Qso(1, 1).mode, "RTTY");
    EXPECT_EQ(check.QsoBand(1, 1), "7");
    EXPECT_EQ(check.QsoMinute(1, 1), check.Qso(1, 1).minute);
    EXPECT_EQ(check.Qso(0, 0).loggedAs, c.logged == c.header ? "" : c.logged);
    EXPECT_EQ(check.Qso(1, 0).loggedAs, "");
  }
  // A call one slip from the station's, with the designator, is still a
  // busted call, named by the call the station signs.
  const std::vector<Station> busted = {
      {"SP1AAA/P", {{"1000", "SP2BBB", "14", "599 K", "599 M", "ok"}}},
      {"SP2BBB", {{"1000", "SP1AAB/P", "14", "599 M", "599 K", "busted-call", "SP1AAA/P"}}},
  };
  ExpectVerdicts(Checked(busted), busted);
}

// However a log writes its reports, two figures or three or cut, they are
// never compared; what follows them is.
TEST(LogCheck, ReportsOfAnyWidthAreNeverCompared) {
  struct Case {
    const char* name;
    std::vector<std::string> sent;    // SP1AAA's sent exchanges, one per QSO
    std::vector<std::string> copied;  // what SP2BBB... copied of them
    const char* verdict;              // of the copiers' lines
  };
  const Case cases[] = {
      {"two figures copied as three",
       {"59 001", "59 002", "59 003"},
       {"599 1", "599 2", "599 3"},
       "ok"},
      {"a 57 against a 59, serials agreeing",
       {"59 001", "57 002", "59 003"},
       {"59 001", "59 002", "59 003"},
       "ok"},
      {"cut figures", {"5NN 001", "5NN 002", "5NN 003"}, {"599 001", "599 002", "599 003"}, "ok"},
      {"a serial copied wrongly is still a bust",
       {"59 001", "59 002", "59 003"},
       {"599 4", "599 7", "599 9"},
       "busted-exchange"},
      {"reports that vary against reports always 59",
       {"51 001", "52 002", "55 003", "57 004", "59 005", "53 006"},
       {"59 001", "59 002", "59 003", "59 004", "59 005", "59 006"},
       "ok"},
      {"varying reports, a serial copied wrongly",
       {"51 001", "52 002", "55 003", "57 004", "59 005", "53 006"},
       {"59 001", "59 002", "59 003", "59 004", "59 007", "59 006"},
       "busted-exchange"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Station> stations = {{"SP1AAA", {}}};
    const char* partners[] = {"SP2BBB", "SP3CCC", "SP4DDD", "SP5EEE", "SP6FFF", "SP7GGG"};
    for (std::size_t i = 0; i < c.sent.size(); ++i) {
      const std::string minute = "10" + std::to_string(10 + i);
      // Only a copy whose serial differs is a bust.
      const bool busted =
          c.sent[i].substr(c.sent[i].find(' ')) != c.copied[i].substr(c.copied[i].find(' '));
      const std::string verdict = busted ? c.verdict : "ok";
      stations[0].lines.push_back({minute, partners[i], "14", c.sent[i], "59 M", "ok"});
      stations.push_back({partners[i],
                          {{minute, "SP1AAA", "14", "599 M", c.copied[i], verdict,
                            verdict == "ok" ? "" : c.sent[i]}}});
    }
    ExpectVerdicts(Checked(stations), stations);
  }
}

// A QSO both sides logged, one of them wrongly: the side whose own lines
// and the other logs show the error loses it, the other keeps it; where
// the evidence cannot tell, both lines stay unanswered.
TEST(LogCheck, OnlyTheSideAtFaultLoses) {
  struct Case {
    const char* name;
    std::vector<Station> stations;
    Fault fault;  // of SP1AAA's second line, as found (kNone: none)
    bool sp1aaaAtFault;
    std::int32_t by;
    CheckRules rules = {};
  };
  const auto run = [](const char* secondBand, const char* theirBand, const char* aroundTheirs) {
    return std::vector<Station>{
        {"SP1AAA",
         {{"1000", "SP2BBB", "7", "599 K", "599 M", "ok"},
          {"1002", "SP3CCC", secondBand, "599 K", "599 B", ""},
          {"1004", "SP4DDD", "7", "599 K", "599 W", "ok"}}},
        {"SP3CCC",
         {{"0950", "SP9ZZZ", aroundTheirs, "599 B", "599 Z", "unique"},
          {"1002", "SP1AAA", theirBand, "599 B", "599 K", ""},
          {"1010", "OK9QQQ", aroundTheirs, "599 B", "599 Q", "unique"}}},
        {"SP2BBB", {{"1000", "SP1AAA", "7", "599 M", "599 K", "ok"}}},
        {"SP4DDD", {{"1004", "SP1AAA", "7", "599 W", "599 K", "ok"}}},
    };
  };
  std::vector<Case> cases = {
      {"a band that breaks this log's run", run("14", "7", "7"), Fault::kBand, true, 0},
      {"a band that breaks the other log's run", run("7", "14", "7"), Fault::kBand, false, 0},
      {"both logs' lines break their runs: nothing told", run("14", "7", "14"), Fault::kNone, false,
       0},
  };
  cases[0].stations[0].lines[1].verdict = "nil";
  cases[0].stations[1].lines[1].verdict = "ok";
  cases[1].stations[0].lines[1].verdict = "ok";
  cases[1].stations[1].lines[1].verdict = "nil";
  cases[2].stations[0].lines[1].verdict = "nil";
  cases[2].stations[1].lines[1].verdict = "nil";
  // SP1AAA's clock put 12 hours on for its last QSOs, with three stations
  // or with two.
  for (const std::size_t jumped : {3u, 2u}) {
    std::vector<Station> stations = {{"SP1AAA", {}}};
    const char* partners[] = {"SP2BBB", "SP3CCC", "SP4DDD"};
    for (std::size_t i = 0; i < 3; ++i) {
      const std::string partner = partners[i];
      const std::string minute = "100" + std::to_string(i * 4);
      const bool off = i + jumped >= 3;
      const std::string logged = off ? "220" + std::to_string(i * 4) : minute;
      const char* verdict = off ? "nil" : "ok";
      stations[0].lines.push_back({"0900", partner, "14", "599 K", "599 M", "ok"});
      stations[0].lines.push_back({logged, partner, "7", "599 K", "599 M", verdict});
      stations.push_back({partner,
                          {{"0900", "SP1AAA", "14", "599 M", "599 K", "ok"},
                           {minute, "SP1AAA", "7", "599 M", "599 K",
                            !off          ? "ok"
                            : jumped >= 3 ? "ok"
                                          : "nil"}}});
    }
    cases.push_back({jumped == 3 ? "a clock 12 hours off with three stations"
                                 : "a clock 12 hours off with two stations: nothing told",
                     stations, jumped == 3 ? Fault::kClock : Fault::kNone, jumped == 3, 12});
  }
  // SP1AAA's log has its sent serials one above what was copied, by three
  // stations or by two; or by three, where three or four more copied them
  // as logged. The logger's error costs SP1AAA nothing unless the rules
  // charge the sender.
  struct SerialCase {
    std::size_t copiers;
    std::size_t worked;
    bool charged;
  };
  for (const SerialCase serial :
       {SerialCase{3, 3, false}, {3, 3, true}, {2, 3, false}, {3, 6, false}, {3, 7, false}}) {
    std::vector<Station> stations = {{"SP1AAA", {}}};
    const char* partners[] = {"SP2BBB", "SP3CCC", "SP4DDD", "SP5EEE", "SP6FFF", "SP7GGG", "SP8HHH"};
    const bool marked = serial.copiers >= 3 && serial.worked - serial.copiers < serial.copiers;
    for (std::size_t i = 0; i < serial.worked; ++i) {
      const std::string minute = (i * 4 < 10 ? "100" : "10") + std::to_string(i * 4);
      const std::string sent = "599 00" + std::to_string(i + 2);
      const bool off = i < serial.copiers;
      const std::string copied = "599 00" + std::to_string(off ? i + 1 : i + 2);
      const bool lost = marked && off && serial.charged;
      stations[0].lines.push_back({minute, partners[i], "14", sent, "599 M",
                                   lost ? "busted-exchange" : "ok", lost ? copied : ""});
      const bool kept = (marked && off) || !off;
      stations.push_back({partners[i],
                          {{minute, "SP1AAA", "14", "599 M", copied,
                            kept ? "ok" : "busted-exchange", kept ? "" : sent}}});
    }
    cases.push_back({!marked && serial.copiers == 2
                         ? "a sent serial one above what two stations copied"
                     : !marked && serial.worked == 6
                         ? "three copied it one below, three as logged: nothing told"
                     : !marked        ? "three copied it one below, four as logged: nothing told"
                     : serial.charged ? "a sent serial one above what three copied, charged"
                                      : "a sent serial one above what three copied: it stays",
                     stations,
                     marked ? Fault::kSentSerial : Fault::kNone,
                     marked,
                     1,
                     {.windowMinutes = 5,
                      .reworkMinutes = std::nullopt,
                      .penalizeSentSerial = serial.charged}});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const LogCheck check = Checked(c.stations, c.rules);
    ExpectVerdicts(check, c.stations);
    const CheckedQso qso = check.Qso(0, 1);
    EXPECT_EQ(qso.fault, c.fault);
    // The log's own finding, for its report and the organiser's list.
    const std::optional<SentSerialsOff> off = check.SentSerials(0);
    EXPECT_EQ(off.has_value(), c.fault == Fault::kSentSerial);
    if (off) {
      EXPECT_EQ(off->by, c.by);
      EXPECT_EQ(off->stations, 3u);
      EXPECT_EQ(off->charged, c.rules.penalizeSentSerial);
    }
    if (c.fault == Fault::kNone) continue;
    EXPECT_EQ(qso.ownFault, c.sp1aaaAtFault);
    EXPECT_EQ(qso.faultBy, c.sp1aaaAtFault ? c.by : -c.by);
    ASSERT_TRUE(qso.partnerLog.has_value());
    EXPECT_EQ(check.OwnCall(*qso.partnerLog), qso.call);
  }
}

// Where the rules let a station be worked again after some minutes, a
// line that long after the QSO that counted is a new QSO; the time runs
// from the QSO that counted, not from a line before it that nothing
// confirmed.
TEST(LogCheck, AStationWorkedAgainAfterTheReworkTimeIsANewQso) {
  struct Case {
    const char* name;
    std::optional<std::int64_t> rework;
    std::vector<Station> stations;
  };
  const std::vector<Case> cases = {
      {"never, by default",
       std::nullopt,
       {{"SP1AAA",
         {{"1000", "SP2BBB", "14", "599 K", "599 M", "ok"},
          {"1035", "SP2BBB", "14", "599 K", "599 M", "dupe"}}},
        {"SP2BBB",
         {{"1000", "SP1AAA", "14", "599 M", "599 K", "ok"},
          {"1035", "SP1AAA", "14", "599 M", "599 K", "dupe"}}}}},
      {"after 30 minutes",
       30,
       {{"SP1AAA",
         {{"1000", "SP2BBB", "14", "599 K", "599 M", "ok"},
          {"1020", "SP2BBB", "14", "599 K", "599 M", "dupe"},
          {"1030", "SP2BBB", "14", "599 K", "599 M", "ok"},
          {"1100", "SP2BBB", "14", "599 K", "599 M", "ok"}}},
        {"SP2BBB",
         {{"1000", "SP1AAA", "14", "599 M", "599 K", "ok"},
          {"1030", "SP1AAA", "14", "599 M", "599 K", "ok"},
          {"1100", "SP1AAA", "14", "599 M", "599 K", "ok"}}}}},
      {"counted from the QSO confirmed",
       30,
       {{"SP1AAA",
         {{"1000", "SP2BBB", "14", "599 K", "599 Z", "nil"},
          {"1003", "SP2BBB", "14", "599 K", "599 M", "ok"},
          {"1031", "SP2BBB", "14", "599 K", "599 M", "dupe"},
          {"1033", "SP2BBB", "14", "599 K", "599 M", "ok"}}},
        {"SP2BBB",
         {{"1003", "SP1AAA", "14", "599 M", "599 K", "ok"},
          {"1033", "SP1AAA", "14", "599 M", "599 K", "ok"}}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectVerdicts(Checked(c.stations, {.windowMinutes = 5, .reworkMinutes = c.rework}),
                   c.stations);
  }
}

// A line the contest does not count, or could not read whole, answers for
// its partner: the QSO happened.
TEST(LogCheck, ALineLeftOutAnswersForItsPartner) {
  LogLines first("SP1AAA");
  first.Add({.position = 1,
             .call = "SP2BBB",
             .band = "14",
             .mode = "RTTY",
             .minute = 29'000'000,
             .sent = "599 K",
             .received = "599 M"});
  LogLines second("SP2BBB");
  second.AddPart(7, "SP1AAA/P", "14", 29'000'001, PartKind::kLeftOut);
  LogCheck check;
  check.AddLog(first);
  check.AddLog(second);
  check.Run();
  const CheckedQso qso = check.Qso(0, 0);
  EXPECT_EQ(VerdictName(qso.verdict), "unchecked");
  EXPECT_EQ(qso.unreadableAnswer, std::optional<std::size_t>(7));
  EXPECT_TRUE(qso.answerLeftOut);
}

// A busted call is answered by the other station's free line nearest in
// time: lines already paired are passed over, and of two as near the one
// earlier in its log answers.
TEST(LogCheck, ABustedCallTakesTheNearestFreeLine) {
  struct Case {
    const char* name;
    std::vector<Line> sp1aaa;  // the last line is the busted one
    std::vector<std::string> sp2bbbTimes;
    std::size_t partner;  // SP2BBB's line that answers it, from 1; 0: none
  };
  const std::vector<Case> cases = {
      {"the nearest before", {}, {"0950", "0958", "1003"}, 2},
      {"the nearest after", {}, {"1004", "0956", "1002"}, 3},
      {"two as near: the earlier in the log", {}, {"1002", "0958"}, 1},
      {"two at one minute: the earlier in the log", {}, {"0958", "1001", "1001"}, 2},
      {"outside the window: none", {}, {"0954", "1006"}, 0},
      {"a paired line passed over",
       {{"0959", "SP2BBB", "14", "599 K", "599 M", "ok"}},
       {"0959", "1004"},
       2},
      {"lines paired on both sides passed over",
       {{"0959", "SP2BBC", "14", "599 K", "599 M", "busted-call"},
        {"1001", "SP2BBD", "14", "599 K", "599 M", "busted-call"}},
       {"1001", "0959", "0955", "1004"},
       4},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    std::vector<Line> sp1aaa = test.sp1aaa;
    sp1aaa.push_back({"1000", "SP2BBX", "14", "599 K", "599 M", ""});
    std::vector<Line> sp2bbb;
    for (const std::string& time : test.sp2bbbTimes)
      sp2bbb.push_back({time, "SP1AAA", "14", "599 M", "599 K", ""});
    const LogCheck check = Checked({{"SP1AAA", sp1aaa}, {"SP2BBB", sp2bbb}});
    const CheckedQso busted = check.Qso(0, sp1aaa.size() - 1);
    if (test.partner == 0) {
      EXPECT_NE(VerdictName(busted.verdict), "busted-call");
      continue;
    }
    EXPECT_EQ(VerdictName(busted.verdict), "busted-call");
    EXPECT_EQ(busted.partnerPosition, test.partner);
  }
}

TEST(LogCheck, ThreadsShareTheWorkAndChangeNoVerdict) {
  const std::vector<test::SimulatedLog> logs =
      test::SimulateContest(SimulatedShape(150, 30, 120, 9));
  std::vector<std::vector<std::string>> answers;
  for (const std::size_t threads : {1u, 2u, 5u}) {
    LogCheck check;
    // Two logs hold each other thousands of times over on one band, more
    // than half of all lines: the index's middle falls inside one group,
    // which no two threads may share.
    AddContest(check, logs, [&](std::size_t log, LogLines& lines) {
      if (log < 2)
        for (int n = 0; n < (log == 0 ? 40000 : 300); ++n)
          lines.Add({.position = 1,
                     .call = logs[1 - log].call,
                     .band = "3.5",
                     .mode = "RTTY",
                     .minute = logs[0].qsos.front().minute + n % 300,
                     .sent = "599 K",
                     .received = "599 M"});
    });
    check.Run(threads);
    std::vector<std::string> answer;
    for (std::size_t log = 0; log < check.LogCount(); ++log) {
      answer.push_back(std::to_string(check.ClockOffset(log)));
      for (std::size_t i = 0; i < check.QsoCount(log); ++i) {
        const CheckedQso qso = check.Qso(log, i);
        answer.push_back(std::string(VerdictName(qso.verdict)) + " " + std::string(qso.detail) +
                         " " + std::to_string(qso.partnerLog.value_or(9999)));
      }
    }
    answers.push_back(std::move(answer));
  }
  EXPECT_GT(answers[0].size(), 2u * 4096u);  // enough lines for two threads
  EXPECT_EQ(answers[1], answers[0]);
  EXPECT_EQ(answers[2], answers[0]);
}

// A station that sent two logs: apart in time, both are checked as one,
// each line answered in the log that holds it; overlapping, only the one
// written last (of two written at once, the later added) is, and the
// other answers nothing.
TEST(LogCheck, TwoLogsOfAStationAreOneOrTheLaterAlone) {
  struct Case {
    const char* name;
    std::int64_t secondStart;  // minutes after the first log's (before: negative)
    std::int64_t firstWritten;
    std::int64_t secondWritten;
    std::optional<std::size_t> setAside;  // of the station's logs, 0 or 1
  };
  const std::vector<Case> cases = {
      {"apart", 60, 1, 2, std::nullopt},
      {"apart, the first written later", 60, 2, 1, std::nullopt},
      {"apart, the earlier added second", -60, 1, 2, std::nullopt},
      {"overlapping", 1, 1, 2, 0},
      {"overlapping, the first written later", 1, 2, 1, 1},
      {"overlapping, written at once", 1, 5, 5, 0},
  };
  const std::int64_t start = 29'000'000;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // SP2BBB worked the station at each log's time, on a band of its own.
    const std::array<const char*, 2> calls = {"SP1AAA", "SP1AAA/P"};
    const std::array<const char*, 2> bands = {"14", "7"};
    const std::array<std::int64_t, 2> minutes = {start, start + c.secondStart};
    LogLines other("SP2BBB");
    std::vector<LogLines> station;
    for (std::size_t k = 0; k < 2; ++k) {
      other.Add({.position = k + 1,
                 .call = "SP1AAA",
                 .band = bands[k],
                 .mode = "RTTY",
                 .minute = minutes[k] + 2,
                 .sent = "599 7",
                 .received = "599 1"});
      LogLines& log = station.emplace_back(calls[k]);
      log.Add({.position = 1,
               .call = "SP2BBB",
               .band = bands[k],
               .mode = "RTTY",
               .minute = minutes[k] + 2,
               .sent = "599 1",
               .received = "599 7"});
      log.Add({.position = 2,
               .call = "SP3CCC",
               .band = bands[k],
               .mode = "RTTY",
               .minute = minutes[k] + 3,
               .sent = "599 1",
               .received = "599 7"});
    }
    LogCheck check;
    check.AddLog(other);
    check.AddLog(station[0], c.firstWritten);
    check.AddLog(station[1], c.secondWritten);
    check.Run();
    EXPECT_EQ(check.StationCount(), 2u);
    for (std::size_t k = 0; k < 2; ++k) {
      const std::size_t log = 1 + k;
      if (c.setAside == k) {
        EXPECT_EQ(check.CheckedInstead(log), std::optional<std::size_t>(2 - k));
        EXPECT_EQ(check.QsoCount(log), 0u);
        continue;
      }
      EXPECT_EQ(check.CheckedInstead(log), std::nullopt);
      EXPECT_EQ(check.OwnCall(log), calls[k]);
      ASSERT_EQ(check.QsoCount(log), 2u);
      const CheckedQso qso = check.Qso(log, 0);
      EXPECT_EQ(VerdictName(qso.verdict), "ok");
      EXPECT_EQ(qso.partnerLog, std::optional<std::size_t>(0));
      EXPECT_EQ(qso.partnerPosition, 1 + k);
      const CheckedQso answer = check.Qso(0, k);
      EXPECT_EQ(VerdictName(answer.verdict), "ok");
      EXPECT_EQ(answer.partnerLog, std::optional<std::size_t>(log));
      EXPECT_EQ(answer.loggedAs, "");
      // The other log has the call this log signs otherwise.
      EXPECT_EQ(qso.loggedAs, k == 0 ? "" : "SP1AAA");
    }
    // The line that the log set aside alone answers has no answer.
    if (c.setAside) {
      EXPECT_EQ(VerdictName(check.Qso(0, *c.setAside).verdict), "nil");
    }
  }
}

TEST(LogCheck, ALineOfTheOtherLogAnswersOneLineOnly) {
  // SP1AAA logged SP2BBB twice within the window; SP2BBB once.
  const LogCheck check = Checked({
      {"SP1AAA",
       {{"1000", "SP2BBB", "14", "599 K", "599 M", "ok"},
        {"1002", "SP2BBB", "14", "599 K", "599 M", "dupe"}}},
      {"SP2BBB", {{"1001", "SP1AAA", "14", "599 M", "599 K", "ok"}}},
  });
  EXPECT_EQ(check.Qso(0, 0).partnerPosition, 1u);
  EXPECT_EQ(check.Qso(1, 0).partnerPosition, 1u);  // the first, not the duplicate
  EXPECT_FALSE(check.Qso(0, 1).partnerLog.has_value());
}

TEST(LogCheck, OnlyLinesThatCanOnlyBeEachOtherJudgeAClock) {
  // SP1AAA's clock is right. It logged four stations twice each on 40 m an
  // hour apart, each of them once, at the later time: those pairs could
  // be either line, so they say nothing of the clock. The later line is
  // the QSO; the earlier one, that nothing confirms, a NIL of its own.
  std::vector<Station> stations = {{"SP1AAA", {}}};
  for (const char* call : {"SP2BBB", "SP3CCC", "SP4DDD"}) {
    stations[0].lines.push_back({"1000", call, "14", "599 K", "599 M", "ok"});
    stations.push_back({call, {{"1000", "SP1AAA", "14", "599 M", "599 K", "ok"}}});
  }
  for (const char* call : {"SP5EEE", "SP6FFF", "SP7GGG", "SP8HHH"}) {
    stations[0].lines.push_back({"0900", call, "7", "599 K", "599 M", "nil"});
    stations[0].lines.push_back({"1000", call, "7", "599 K", "599 M", "ok"});
    stations.push_back({call, {{"1000", "SP1AAA", "7", "599 M", "599 K", "ok"}}});
  }
  const LogCheck check = Checked(stations);
  ExpectVerdicts(check, stations);
  EXPECT_EQ(check.ClockOffset(0), 0);
}

TEST(LogCheck, FindsEveryErrorPutIntoASimulatedContestAndNothingElse) {
  // A contest as most are, and one as domestic contests are: stations
  // worked again after 30 minutes, two serials each way, reports that vary,
  // and calls copied as those of other stations that sent logs.
  struct Kind {
    const char* name;
    bool domestic;
  };
  for (const Kind kind : {Kind{"international", false}, Kind{"domestic", true}})
    for (std::uint64_t seed = 1; seed <= 8; ++seed) {
      SCOPED_TRACE(std::string(kind.name) + " seed " + std::to_string(seed));
      test::ContestShape shape = SimulatedShape(60, 15, 80, seed);
      CheckRules rules;
      if (kind.domestic) {
        shape.reworkMinutes = 30;
        shape.twoSerials = true;
        shape.varyingReports = true;
        shape.entrantMiscopies = 0.03;
        rules.reworkMinutes = 30;
      }
      const std::vector<test::SimulatedLog> logs = test::SimulateContest(shape);
      LogCheck check(rules);
      AddContest(check, logs);
      check.Run();
      std::map<std::string, std::size_t> found;
      std::set<std::string> stations;
      std::set<std::string> ownCalls;
      for (const test::SimulatedLog& log : logs)
        ownCalls.insert(std::string(StationCall(log.call)));
      for (std::size_t log = 0; log < logs.size(); ++log) {
        const test::SimulatedLog& part = logs[log];
        const std::int64_t offset = check.ClockOffset(log) - part.clockOffset;
        EXPECT_LE(offset < 0 ? -offset : offset, 1) << check.OwnCall(log);
        if (!stations.insert(std::string(StationCall(part.call))).second) ++found["two logs"];
        std::size_t judged = 0;  // the check's number of the line
        for (std::size_t i = 0; i < part.qsos.size(); ++i) {
          const test::SimulatedQso& truth = part.qsos[i];
          if (truth.verdict == "unreadable" || truth.verdict == "left-out") {
            ++found[truth.verdict];
            continue;
          }
          const CheckedQso qso = check.Qso(log, judged++);
          const std::string where = part.call + " line " + std::to_string(i + 1) + " " + truth.call;
          EXPECT_EQ(qso.position, i + 1);
          ++found[std::string(VerdictName(qso.verdict))];
          EXPECT_EQ(VerdictName(qso.verdict), truth.verdict) << where;
          // The answer that could not be read, or that is left out, is
          // named by its place, not in words.
          const bool unread = truth.detail == test::kUnreadableAnswer;
          const bool leftOut = truth.detail == test::kLeftOutAnswer;
          EXPECT_EQ(qso.unreadableAnswer.has_value(), unread || leftOut) << where;
          EXPECT_EQ(qso.answerLeftOut, leftOut) << where;
          EXPECT_EQ(qso.detail, unread || leftOut ? "" : truth.detail) << where;
          EXPECT_EQ(qso.loggedAs, truth.loggedAs) << where;
          if (!truth.loggedAs.empty()) ++found["logged otherwise"];
          const std::string fault = qso.fault == Fault::kBand         ? "band"
                                    : qso.fault == Fault::kClock      ? "clock"
                                    : qso.fault == Fault::kSentSerial ? "serial"
                                                                      : "";
          EXPECT_EQ(fault, truth.fault) << where;
          EXPECT_EQ(qso.ownFault, truth.ownFault) << where;
          if (!fault.empty()) ++found[fault + (truth.ownFault ? " own" : " theirs")];
          // A line its partner's log confirms is never a NIL but for its own
          // error found; a busted call names the station truly worked.
          if (qso.verdict == Verdict::kNil) {
            EXPECT_TRUE(!qso.partnerLog || qso.ownFault) << where;
          }
          if (truth.verdict == "busted-call" && ownCalls.count(truth.call) > 0)
            ++found["copied as an entrant's call"];
          if (truth.verdict == "ok" && i > 0)
            for (std::size_t k = 0; k < i; ++k)
              if (part.qsos[k].call == truth.call && part.qsos[k].band == truth.band &&
                  part.qsos[k].verdict == "ok")
                ++found["worked again"];
        }
        EXPECT_EQ(judged, check.QsoCount(log));
        // A walk over the whole log sees each line as it is asked for alone.
        std::size_t walked = 0;
        check.ForEachQso(log, [&](const CheckedQso& qso) {
          const CheckedQso alone = check.Qso(log, walked++);
          EXPECT_EQ(qso.position, alone.position);
          EXPECT_EQ(qso.call, alone.call);
          EXPECT_EQ(qso.verdict, alone.verdict);
          EXPECT_EQ(qso.partnerLog, alone.partnerLog);
          EXPECT_EQ(qso.partnerPosition, alone.partnerPosition);
          EXPECT_EQ(qso.detail, alone.detail);
        });
        EXPECT_EQ(walked, check.QsoCount(log));
      }
      EXPECT_EQ(check.StationCount(), stations.size());
      // How many logs hold each call as logged, counted line by line here.
      std::map<std::string, std::size_t> holding;
      for (std::size_t log = 0; log < logs.size(); ++log) {
        std::set<std::string> calls;
        for (std::size_t i = 0; i < check.QsoCount(log); ++i)
          calls.insert(std::string(check.QsoCall(log, i)));
        for (const std::string& call : calls) ++holding[call];
      }
      const std::vector<std::uint32_t> counted = check.LogsHoldingEachCall();
      for (const auto& [call, logCount] : holding) {
        const std::optional<std::uint32_t> number = check.CallNumber(call);
        ASSERT_TRUE(number.has_value()) << call;
        EXPECT_EQ(counted.at(*number), logCount) << call;
      }
      EXPECT_FALSE(check.CallNumber("NO1CALL").has_value());
      // Every sort of error was put in, so that none of them passes unseen.
      for (const char* verdict :
           {"ok", "dupe", "nil", "busted-call", "busted-exchange", "unchecked", "unique",
            "unreadable", "left-out", "two logs", "logged otherwise", "band own", "band theirs",
            "clock own", "clock theirs", "serial own", "serial theirs"})
        EXPECT_GT(found[verdict], 0u) << verdict;
      if (kind.domestic) {
        for (const char* pattern : {"copied as an entrant's call", "worked again"})
          EXPECT_GT(found[pattern], 0u) << pattern;
      }
    }
}

}  // namespace
}  // namespace zeltra

namespace zeltra {
namespace {

// A line whose answer the other log holds only in a line read in part: the
// part must be on its band and within the window; the other parts of that
// log with this station are passed over to find it.
TEST(LogCheck, ALineReadInPartAnswersOnItsBandWithinTheWindow) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::int64_t>> parts;  // band, minutes after the QSO
    const char* verdict;
    std::optional<std::size_t> answer;  // the part's line
  };
  const std::vector<Case> cases = {
      {"another band first, then its own", {{"7", 0}, {"14", 1}}, "unchecked", 2},
      {"at the window's edge", {{"14", 5}}, "unchecked", 1},
      {"past the window", {{"14", 6}}, "nil", std::nullopt},
      {"only on another band", {{"21", 0}}, "nil", std::nullopt},
  };
  const std::int64_t minute = 29'000'000;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LogLines first("SP1AAA");
    first.Add({.position = 1,
               .call = "SP2BBB",
               .band = "14",
               .mode = "RTTY",
               .minute = minute,
               .sent = "599 K",
               .received = "599 M"});
    LogLines second("SP2BBB");
    std::size_t position = 0;
    for (const auto& [band, after] : c.parts)
      second.AddPart(++position, "SP1AAA", band, minute + after);
    LogCheck check;
    check.AddLog(first);
    check.AddLog(second);
    check.Run();
    const CheckedQso qso = check.Qso(0, 0);
    EXPECT_EQ(VerdictName(qso.verdict), c.verdict);
    EXPECT_EQ(qso.unreadableAnswer, c.answer);
    if (c.answer) {
      EXPECT_EQ(qso.otherLog, std::optional<std::size_t>(1));
    }
  }
}

// A line that answers one QSO confirms nothing else: the copy of another
// station's call that names a station worked at another time is that
// other station's QSO, however the exchanges run and whatever the rules.
TEST(LogCheck, ALineIsEvidenceForOneQsoOnly) {
  struct Case {
    const char* name;
    std::vector<Station> stations;
    CheckRules rules = {};
  };
  const std::vector<Case> cases = {
      {"a copy naming a station that confirms X at another time",
       {{"DL1BBB", {{"1216", "DL2XXX", "14", "599 018", "599 025", "ok"}}},
        {"DL2XXX",
         {{"1217", "DL3CCC", "14", "599 025", "599 018", "busted-call", "DL1BBB"},
          {"1222", "DL3CCC", "14", "599 030", "599 022", "ok"}}},
        {"DL3CCC", {{"1222", "DL2XXX", "14", "599 022", "599 030", "ok"}}}}},
      {"two serials each way",
       {{"DL1BBB", {{"1216", "DL2XXX", "14", "018 011", "025 017", "ok"}}},
        {"DL2XXX",
         {{"1217", "DL3CCC", "14", "025 017", "018 011", "busted-call", "DL1BBB"},
          {"1222", "DL3CCC", "14", "030 021", "022 015", "ok"}}},
        {"DL3CCC", {{"1222", "DL2XXX", "14", "022 015", "030 021", "ok"}}}}},
      {"re-working allowed, the station worked again later",
       {{"DL1BBB", {{"1216", "DL2XXX", "14", "599 018", "599 025", "ok"}}},
        {"DL2XXX",
         {{"1217", "DL3CCC", "14", "599 025", "599 018", "busted-call", "DL1BBB"},
          {"1250", "DL3CCC", "14", "599 050", "599 040", "ok"}}},
        {"DL3CCC", {{"1250", "DL2XXX", "14", "599 040", "599 050", "ok"}}}},
       {.windowMinutes = 5, .reworkMinutes = 30}},
      {"the station named worked X before the copy",
       {{"DL1BBB", {{"1216", "DL2XXX", "14", "599 018", "599 025", "ok"}}},
        {"DL2XXX",
         {{"1205", "DL3CCC", "14", "599 020", "599 010", "ok"},
          {"1217", "DL3CCC", "14", "599 025", "599 018", "busted-call", "DL1BBB"}}},
        {"DL3CCC", {{"1205", "DL2XXX", "14", "599 010", "599 020", "ok"}}}}},
      {"the station named sent no log",
       {{"DL1BBB", {{"1216", "DL2XXX", "14", "599 018", "599 025", "ok"}}},
        {"DL2XXX",
         {{"1217", "DL3CCC", "14", "599 025", "599 018", "busted-call", "DL1BBB"},
          {"1222", "DL3CCC", "14", "599 030", "599 022", "unique"}}}}},
      // A's own band error, then A logs X again on the right band and X
      // confirms it: the line confirmed is the QSO, not a dupe.
      {"a band error, then the QSO logged again and confirmed",
       {{"SP1AAA",
         {{"1000", "SP2BBB", "7", "599 K", "599 M", "ok"},
          {"1002", "SP3CCC", "14", "599 K", "599 B", "nil"},
          {"1004", "SP4DDD", "7", "599 K", "599 W", "ok"},
          {"1022", "SP3CCC", "14", "599 K", "599 B", "ok"}}},
        {"SP3CCC",
         {{"0950", "SP9ZZZ", "7", "599 B", "599 Z", "unique"},
          {"1002", "SP1AAA", "7", "599 B", "599 K", "ok"},
          {"1010", "OK9QQQ", "7", "599 B", "599 Q", "unique"},
          {"1022", "SP1AAA", "14", "599 B", "599 K", "ok"}}},
        {"SP2BBB", {{"1000", "SP1AAA", "7", "599 M", "599 K", "ok"}}},
        {"SP4DDD", {{"1004", "SP1AAA", "7", "599 W", "599 K", "ok"}}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectVerdicts(Checked(c.stations, c.rules), c.stations);
  }
}

}  // namespace
}  // namespace zeltra
