#pragma once

#include <filesystem>

#include "core/settings/IniDocument.h"

namespace zeltra {

// Reads a settings file. A missing file holds no settings, and so does one
// larger than IniDocument::kMaxTextSize, which is read no further than its
// size: it cannot be a settings file, and reading it could cost a 32-bit
// host more memory than it has. Throws std::runtime_error naming the file
// when it exists but cannot be read.
IniDocument ReadIniFile(const std::filesystem::path& path);

}  // namespace zeltra
