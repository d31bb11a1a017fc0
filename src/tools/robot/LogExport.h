#pragma once

#include <filesystem>
#include <string>

#include "tools/robot/UploadStore.h"

namespace zeltra::robot {

// Copies the newest log of each call into folder, byte for byte as it was
// uploaded, named from its call as the site's pages are (CALL.log): the
// folder zeltra-score --cross-check reads. Answers how many; throws
// StoreFailure.
std::size_t ExportLatest(const UploadStore& store, const std::filesystem::path& folder);

}  // namespace zeltra::robot
