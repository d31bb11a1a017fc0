// The log check against the truth of simulated contests: for each pattern
// that real contests have, over seeds 1 to N, the share of QSO lines whose
// verdict is the true one.
//
//   check_truth [SEEDS]   (50 when not given)

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "core/crosscheck/LogCheck.h"
#include "core/crosscheck/LogLines.h"
#include "support/SimulatedContest.h"
#include "support/SimulatedLines.h"

namespace {

using zeltra::CheckRules;
using zeltra::LogCheck;
using zeltra::LogLines;
using zeltra::test::ContestShape;
using zeltra::test::SimulatedLog;
using zeltra::test::SimulatedQso;

constexpr std::uint64_t kSeeds = 50;
constexpr std::int64_t kReworkMinutes = 30;
constexpr double kEntrantMiscopies = 0.03;
constexpr double kPerCent = 100.0;

struct Pattern {
  const char* name;
  std::function<void(ContestShape&, CheckRules&)> set;
};

struct Tally {
  std::size_t lines = 0;
  std::size_t true_ = 0;
};

void Check(const ContestShape& shape, const CheckRules& rules, Tally& tally) {
  const std::vector<SimulatedLog> logs = zeltra::test::SimulateContest(shape);
  LogCheck check(rules);
  for (const SimulatedLog& log : logs) {
    LogLines lines(log.call);
    zeltra::test::AddSimulatedLines(lines, log);
    check.AddLog(lines);
  }
  check.Run();
  for (std::size_t log = 0; log < logs.size(); ++log) {
    std::size_t judged = 0;
    for (const SimulatedQso& qso : logs[log].qsos) {
      if (qso.verdict == "unreadable" || qso.verdict == "left-out") continue;
      ++tally.lines;
      if (zeltra::VerdictName(check.QsoVerdict(log, judged++)) == qso.verdict) ++tally.true_;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::uint64_t seeds = argc > 1 ? std::stoull(argv[1]) : kSeeds;
  const std::vector<Pattern> patterns = {
      {"as most contests", [](ContestShape&, CheckRules&) {}},
      {"worked again after 30 minutes",
       [](ContestShape& shape, CheckRules& rules) {
         shape.reworkMinutes = kReworkMinutes;
         rules.reworkMinutes = kReworkMinutes;
       }},
      {"two serials each way", [](ContestShape& shape, CheckRules&) { shape.twoSerials = true; }},
      {"reports that vary", [](ContestShape& shape, CheckRules&) { shape.varyingReports = true; }},
      {"calls copied as other entrants'",
       [](ContestShape& shape, CheckRules&) { shape.entrantMiscopies = kEntrantMiscopies; }},
      {"a logger's sent serials charged",
       [](ContestShape& shape, CheckRules& rules) {
         shape.penalizeSentSerial = true;
         rules.penalizeSentSerial = true;
       }},
      {"all of them, as a domestic contest",
       [](ContestShape& shape, CheckRules& rules) {
         shape.reworkMinutes = kReworkMinutes;
         shape.twoSerials = true;
         shape.varyingReports = true;
         shape.entrantMiscopies = kEntrantMiscopies;
         rules.reworkMinutes = kReworkMinutes;
       }},
  };
  for (const Pattern& pattern : patterns) {
    Tally tally;
    for (std::uint64_t seed = 1; seed <= seeds; ++seed) {
      ContestShape shape;
      shape.logs = 60;
      shape.silentStations = 15;
      shape.qsosPerLog = 80;
      shape.seed = seed;
      CheckRules rules;
      pattern.set(shape, rules);
      Check(shape, rules, tally);
    }
    std::printf("%-36s %8.3f %% of %zu lines (seeds 1-%llu)\n", pattern.name,
                kPerCent * static_cast<double>(tally.true_) / static_cast<double>(tally.lines),
                tally.lines, static_cast<unsigned long long>(seeds));
  }
  return 0;
}
