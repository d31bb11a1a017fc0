#pragma once

#include <cstddef>
#include <filesystem>

#include "tools/robot/store/StoreReader.h"

namespace zeltra::robot {

// Copies the current log of each call into folder, byte for byte as it was
// uploaded, named from its call as the site's pages are (CALL.log), each
// file dated by its upload: the folder zeltra-score --cross-check reads.
// Reads the records as they are at one moment and changes nothing in the
// data folder, so it runs beside the serving robot. Each file is written
// whole under a passing name first: an export cut short leaves no half
// log under a call's name. Answers how many; throws StoreFailure.
std::size_t ExportCurrent(const StoreReader& store, const std::filesystem::path& folder);

}  // namespace zeltra::robot
