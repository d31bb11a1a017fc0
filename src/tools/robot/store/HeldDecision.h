#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/robot/store/KeptLog.h"

namespace zeltra::robot {

// The organiser's decision on a held upload: accepted, it becomes its
// call's current log (its key then replaces it, too); rejected, it stays
// on disk and in the records, out of the check. Taken while the robot
// serves; it changes a record only, never a file. Throws StoreFailure
// when there is no such upload or it is not held; answers it as decided.
KeptLog DecideHeld(const std::filesystem::path& folder, std::int64_t id, LogState decision);

// Every upload held for a call, or from an address (the one not empty),
// rejected at once, as DecideHeld rejects one; answers them.
std::vector<KeptLog> RejectAllHeld(const std::filesystem::path& folder, const std::string& call,
                                   const std::string& address);

}  // namespace zeltra::robot
