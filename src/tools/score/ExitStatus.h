#pragma once

#include <vector>

#include "organiser/scoring/LogResult.h"

namespace zeltra::score {

// The exit statuses, each its own.
inline constexpr int kExitScored = 0;
inline constexpr int kExitRecordsSkipped = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitClaimedDiffers = 3;
inline constexpr int kExitUnreadable = 4;
inline constexpr int kExitNotALog = 5;
inline constexpr int kExitOutputFailed = 6;

// The exit status of a run that scored these logs: the worst that befell
// one of them, a folder that could not be listed, or no log at all.
int ExitStatusOf(const std::vector<const organiser::LogResult*>& results,
                 const std::vector<organiser::NotScored>& notScored, bool checkClaimed);

}  // namespace zeltra::score
