// The organiser's check run end to end on a simulated contest, written out
// as Cabrillo and as ADIF logs the way loggers write them.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "core/text/UtcMinute.h"
#include "organiser/results/CheckReport.h"
#include "support/FileText.h"
#include "support/SimulatedContest.h"
#include "support/SqliteLog.h"
#include "tools/score/ExitStatus.h"
#include "tools/score/ScoreOptions.h"
#include "tools/score/ScoreRun.h"

namespace zeltra::score {
using namespace organiser;
namespace {

namespace fs = std::filesystem;
using testing::FileText;
using testing::TemporaryFolder;

// log, call, band, time, verdict, detail: a verdict row without its line
// number, which differs between a Cabrillo file and an ADIF one.
using Verdict =
    std::tuple<std::string, std::string, std::string, std::string, std::string, std::string>;

// A CSV row's fields; a quoted one may hold commas and doubled quotes.
std::vector<std::string> CsvFields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
      fields.back() += c;
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

const std::regex kAnswerUnread("their (line|record) [0-9]+ could not be read");
const std::regex kAnswerLeftOut("their (line|record) [0-9]+ is left out");

// What the check found of an error of one side, in words, as the
// simulation's truth names it: "band own", "serial theirs".
std::string FaultOf(const std::string& detail) {
  for (const char* fault : {"band", "clock", "sent serial"}) {
    const std::string name = std::string(fault) == "sent serial" ? "serial" : fault;
    if (detail.rfind(std::string("your ") + fault + ": ", 0) == 0) return name + " own";
    if (detail.rfind(std::string("their ") + fault + ": ", 0) == 0) return name + " theirs";
  }
  return {};
}

// sharedCalls: calls with two logs, whose line numbers the rows cannot
// tell apart.
std::vector<Verdict> VerdictsOf(const std::string& csv, const std::set<std::string>& sharedCalls) {
  std::istringstream in(csv);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "log,line,call,band,time,verdict,detail,partner_log,partner_line");
  std::vector<Verdict> verdicts;
  // Each line's partner, by log and line: a partner answers it back.
  std::map<std::pair<std::string, std::string>, std::pair<std::string, std::string>> partners;
  while (std::getline(in, line)) {
    std::vector<std::string> f = CsvFields(line);
    EXPECT_EQ(f.size(), 9u) << line;
    if (f.size() != 9) continue;
    // An error of one side found is said on both; the side at fault
    // loses the QSO, yet is answered by the other side's line.
    const std::string fault = FaultOf(f[6]);
    if (!fault.empty()) f[6] = fault;
    // A NIL's detail names the other log's nearest line with this station.
    if (f[5] == "nil" && fault.empty()) {
      EXPECT_TRUE(f[6].empty() || f[6].rfind("logged you at ", 0) == 0) << line;
      f[6].clear();
    }
    // What could not be read is told, each format in its words; what
    // answers it names its line, numbered as its file numbers them.
    if (f[5] == "unreadable") {
      EXPECT_FALSE(f[6].empty()) << line;
      f[6].clear();
    }
    if (f[5] == "unchecked" && std::regex_match(f[6], kAnswerUnread))
      f[6] = test::kUnreadableAnswer;
    if (f[5] == "unchecked" && std::regex_match(f[6], kAnswerLeftOut)) f[6] = test::kLeftOutAnswer;
    verdicts.emplace_back(f[0], f[2], f[3], f[4], f[5], f[6]);
    EXPECT_EQ(f[7].empty(), f[8].empty()) << line;
    if (f[5] == "ok" || f[5] == "busted-exchange") {
      EXPECT_FALSE(f[7].empty()) << line;
    }
    if ((f[5] == "nil" && fault.empty()) || f[5] == "unique") {
      EXPECT_TRUE(f[7].empty()) << line;
    }
    if (!f[7].empty()) partners[{f[0], f[1]}] = {f[7], f[8]};
  }
  for (const auto& [answered, partner] : partners) {
    if (sharedCalls.count(answered.first) || sharedCalls.count(partner.first)) continue;
    const auto back = partners.find(partner);
    EXPECT_TRUE(back != partners.end() && back->second == answered)
        << answered.first << " line " << answered.second << " is not answered back";
  }
  std::sort(verdicts.begin(), verdicts.end());
  return verdicts;
}

std::vector<Verdict> TrueVerdicts(const std::vector<test::SimulatedLog>& logs) {
  std::vector<Verdict> verdicts;
  for (const test::SimulatedLog& log : logs)
    for (const test::SimulatedQso& qso : log.qsos) {
      // The words the verdicts give what the truth names.
      std::string detail = qso.detail;
      if (qso.verdict == "left-out") detail = "at or after --to";
      if (!qso.loggedAs.empty()) detail = "logged you as " + qso.loggedAs;
      if (!qso.fault.empty()) detail = qso.fault + (qso.ownFault ? " own" : " theirs");
      verdicts.emplace_back(log.call, qso.call, qso.band, TimeText(qso.minute), qso.verdict,
                            detail);
    }
  std::sort(verdicts.begin(), verdicts.end());
  return verdicts;
}

std::string RowText(const Verdict& row) {
  const auto& [log, call, band, time, verdict, detail] = row;
  return log + " " + call + " " + band + " " + time + " " + verdict + " (" + detail + ")";
}

// The rows found and the true ones alike; each row found that is not true,
// and each true one not found, named.
void ExpectVerdicts(const std::vector<Verdict>& found, const std::vector<Verdict>& truth) {
  std::vector<Verdict> wrong;
  std::vector<Verdict> missed;
  std::set_difference(found.begin(), found.end(), truth.begin(), truth.end(),
                      std::back_inserter(wrong));
  std::set_difference(truth.begin(), truth.end(), found.begin(), found.end(),
                      std::back_inserter(missed));
  for (const Verdict& row : wrong) ADD_FAILURE() << "found " << RowText(row);
  for (const Verdict& row : missed) ADD_FAILURE() << "not found " << RowText(row);
  EXPECT_EQ(found.size(), truth.size());
}

// A list of the summary's ("Calls copied wrongly in other logs: 3" and its
// rows): call and count, as written.
std::vector<std::pair<std::string, std::size_t>> SummaryList(const std::string& summary,
                                                             const std::string& title) {
  std::istringstream in(summary.substr(summary.find(title + ": ")));
  std::string line;
  std::getline(in, line);
  const std::size_t count = std::stoul(line.substr(title.size() + 2));
  std::vector<std::pair<std::string, std::size_t>> rows;
  if (count > 0) std::getline(in, line);  // the headings
  for (std::size_t i = 0; i < count && std::getline(in, line); ++i) {
    std::istringstream fields(line);
    std::pair<std::string, std::size_t> row;
    fields >> row.first >> row.second;
    rows.push_back(row);
  }
  return rows;
}

// The summary's lists put the calls most often at fault first, ties by
// call, and add up to the lines the verdicts give.
void ExpectMostFirst(const std::string& summary, const std::string& title,
                     const std::string& verdicts, const std::string& verdict) {
  SCOPED_TRACE(title);
  const auto rows = SummaryList(summary, title);
  std::size_t total = 0;
  std::set<std::size_t> counts;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    total += rows[i].second;
    counts.insert(rows[i].second);
    if (i == 0) continue;
    EXPECT_TRUE(rows[i - 1].second > rows[i].second ||
                (rows[i - 1].second == rows[i].second && rows[i - 1].first < rows[i].first))
        << rows[i - 1].first << " before " << rows[i].first;
  }
  EXPECT_GE(counts.size(), 2u) << "a contest whose calls are all at fault equally";
  std::size_t lines = 0;
  for (std::size_t at = verdicts.find("," + verdict + ","); at != std::string::npos;
       at = verdicts.find("," + verdict + ",", at + 1))
    ++lines;
  if (verdict == "busted-call") {
    EXPECT_EQ(total, lines);
  } else {
    EXPECT_LE(total, lines);
  }
}

TEST(CrossCheck, CabrilloAndAdifLogsOfOneContestGetTheTrueVerdicts) {
  const std::vector<test::SimulatedLog> logs = test::SimulateContest(
      {.logs = 30, .silentStations = 8, .qsosPerLog = 50, .clocksOff = 2, .seed = 7});
  TemporaryFolder folder;
  const fs::path cabrillo = folder.path() / "cabrillo";
  const fs::path adif = folder.path() / "adif";
  fs::create_directories(cabrillo);
  fs::create_directories(adif);
  for (const test::SimulatedLog& log : logs) {
    std::ofstream(cabrillo / (log.name + ".log"), std::ios::binary) << test::CabrilloText(log);
    std::ofstream(adif / (log.name + ".adi"), std::ios::binary) << test::AdifText(log);
  }
  const std::vector<Verdict> truth = TrueVerdicts(logs);
  std::set<std::string> calls;
  std::set<std::string> sharedCalls;
  for (const test::SimulatedLog& log : logs)
    if (!calls.insert(log.call).second) sharedCalls.insert(log.call);
  EXPECT_EQ(sharedCalls.size(), 1u);  // a station that moved sent two logs
  for (const fs::path& logFolder : {cabrillo, adif}) {
    SCOPED_TRACE(logFolder.filename().string());
    const std::string verdicts = (folder.path() / "verdicts.csv").string();
    const std::string summary = (folder.path() / "summary.txt").string();
    std::ostringstream out;
    std::ostringstream errors;
    const int status = RunScore(
        ParseScoreOptions({"--cty", std::string(ZELTRA_SCORE_CASES) + "/cty.dat", "--jobs", "4",
                           "--to", test::kContestEnd, "--cross-check", logFolder.string(),
                           "--verdicts", verdicts, "--summary", summary}),
        out, errors, false);
    // A Cabrillo line without its received exchange cannot be read; an
    // ADIF record without one is read, and the check cannot judge it.
    EXPECT_EQ(status, logFolder == cabrillo ? kExitRecordsSkipped : kExitScored) << errors.str();
    ExpectVerdicts(VerdictsOf(FileText(verdicts), sharedCalls), truth);
    ExpectMostFirst(FileText(summary), "Calls copied wrongly in other logs", FileText(verdicts),
                    "busted-call");
    ExpectMostFirst(FileText(summary), "NILs each station caused in other logs", FileText(verdicts),
                    "nil");
  }
}

}  // namespace
}  // namespace zeltra::score
