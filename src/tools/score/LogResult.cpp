#include "tools/score/LogResult.h"

#include <algorithm>

#include "tools/score/ScoreOptions.h"

namespace zeltra::score {

std::string LogResult::Status() const {
  if (failed()) return "failed: " + failure;
  if (skipped == 0) return "ok";
  return std::to_string(skipped) + " " + positionWord + (skipped == 1 ? "" : "s") + " skipped";
}

std::optional<long long> LogResult::Difference() const {
  if (!claimedNumber || !score) return std::nullopt;
  // A claim is at most kLargestClaim and a score far below 2^62: no overflow.
  return *claimedNumber - score->score();
}

std::vector<const LogResult*> Ranked(const std::vector<LogResult>& logs) {
  std::vector<const LogResult*> ranked;
  for (const LogResult& log : logs) ranked.push_back(&log);
  std::stable_sort(ranked.begin(), ranked.end(), [](const LogResult* a, const LogResult* b) {
    if (a->failed() || b->failed()) return !a->failed() && b->failed();
    if (a->score->score() != b->score->score()) return a->score->score() > b->score->score();
    return a->callSign < b->callSign;
  });
  return ranked;
}

int ExitStatusOf(const std::vector<const LogResult*>& results,
                 const std::vector<NotScored>& notScored, bool checkClaimed) {
  const auto any = [&](auto predicate) {
    return std::any_of(results.begin(), results.end(), predicate);
  };
  if (std::any_of(notScored.begin(), notScored.end(),
                  [](const NotScored& file) { return file.unreadable; }))
    return kExitUnreadable;
  // Nothing scored is no success: an empty folder, or one of other files.
  if (results.empty()) return kExitNotALog;
  if (any([](const LogResult* log) { return log->failed() && !log->notALog && !log->stopped; }))
    return kExitUnreadable;
  if (any([](const LogResult* log) { return log->notALog; })) return kExitNotALog;
  if (checkClaimed && any([](const LogResult* log) { return log->ClaimDiffers(); }))
    return kExitClaimedDiffers;
  if (any([](const LogResult* log) { return log->stopped || log->skipped > 0; }))
    return kExitRecordsSkipped;
  return kExitScored;
}

}  // namespace zeltra::score
