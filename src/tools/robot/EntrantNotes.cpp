#include "tools/robot/EntrantNotes.h"

#include <string_view>

namespace zeltra::robot {
namespace {

// Enough for an entrant to find the kind of mistake; the rest is counted.
constexpr std::size_t kProblemsShown = 20;
constexpr std::size_t kCompactTime = std::string_view("YYYYMMDDHHMM").size();

std::string Contacts(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " contact " : " contacts ");
}

std::string LeftOutNote(const LeftOutReason& reason, std::size_t count, const ShownPeriod& period) {
  const std::string contacts = Contacts(count);
  switch (reason.kind) {
    case LeftOutReason::Kind::kMode:
      return contacts + "in " + reason.detail + " not counted: the contest is RTTY only";
    case LeftOutReason::Kind::kBand:
      return contacts + "on " + reason.detail + " MHz not counted: not a band of the contest";
    case LeftOutReason::Kind::kNoDateAndTime:
      return contacts + "without a date and time not counted";
    case LeftOutReason::Kind::kBeforePeriod:
      return contacts + "before the contest's start" +
             (period.from ? ", " + *period.from + " UTC," : "") + " not counted";
    case LeftOutReason::Kind::kAfterPeriod:
      return contacts + "at or after the contest's end" +
             (period.to ? ", " + *period.to + " UTC," : "") + " not counted";
    case LeftOutReason::Kind::kOffCategory:
      return contacts + "on " + reason.detail +
             " MHz not counted: the log's category is another band's";
  }
  return contacts + "not counted";
}

}  // namespace

std::string ShownTime(const std::string& compact) {
  if (compact.size() != kCompactTime) return compact;
  return compact.substr(0, 4) + "-" + compact.substr(4, 2) + "-" + compact.substr(6, 2) + " " +
         compact.substr(8, 2) + ":" + compact.substr(10, 2);
}

std::vector<std::string> EntrantNotes(const LogContents& log, const std::string& positionWord,
                                      const ShownPeriod& period) {
  std::vector<std::string> notes;
  const auto at = [&](const LogProblem& problem) {
    return problem.position == 0 ? std::string()
                                 : positionWord + " " + std::to_string(problem.position) + ": ";
  };
  std::size_t shown = 0;
  for (const LogProblem& warning : log.warnings)
    if (shown++ < kProblemsShown) notes.push_back(at(warning) + warning.message);
  std::size_t warnings = 0;
  for (const auto& [kind, count] : log.warningsByKind) warnings += count;
  if (warnings > kProblemsShown)
    notes.push_back("and " + std::to_string(warnings - kProblemsShown) + " more such warnings");
  shown = 0;
  for (const LogProblem& skipped : log.skipped)
    if (shown++ < kProblemsShown) notes.push_back(at(skipped) + skipped.message + "; not read");
  if (log.skippedCount > kProblemsShown)
    notes.push_back("and " + std::to_string(log.skippedCount - kProblemsShown) + " more " +
                    positionWord + "s not read");
  for (const auto& [reason, count] : log.leftOutReasons)
    notes.push_back(LeftOutNote(reason, count, period));
  return notes;
}

}  // namespace zeltra::robot
