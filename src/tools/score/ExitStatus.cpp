#include "tools/score/ExitStatus.h"

#include <algorithm>

namespace zeltra::score {

int ExitStatusOf(const std::vector<const organiser::LogResult*>& results,
                 const std::vector<organiser::NotScored>& notScored, bool checkClaimed) {
  const auto any = [&](auto predicate) {
    return std::any_of(results.begin(), results.end(), predicate);
  };
  if (std::any_of(notScored.begin(), notScored.end(),
                  [](const organiser::NotScored& file) { return file.unreadable; }))
    return kExitUnreadable;
  // Nothing scored is no success: an empty folder, or one of other files.
  if (results.empty()) return kExitNotALog;
  if (any([](const organiser::LogResult* log) {
        return log->Failed() && !log->notALog && !log->stopped;
      }))
    return kExitUnreadable;
  if (any([](const organiser::LogResult* log) { return log->notALog; })) return kExitNotALog;
  if (checkClaimed && any([](const organiser::LogResult* log) { return log->ClaimDiffers(); }))
    return kExitClaimedDiffers;
  if (any([](const organiser::LogResult* log) { return log->stopped || log->skipped > 0; }))
    return kExitRecordsSkipped;
  return kExitScored;
}

}  // namespace zeltra::score
