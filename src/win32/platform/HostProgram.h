#pragma once

#include <filesystem>

namespace zeltra::win32 {

// The full path of the host program's executable, however long. Throws
// std::runtime_error when the system cannot name it.
std::filesystem::path HostProgramPath();

}  // namespace zeltra::win32
