#pragma once

#include <filesystem>

namespace zeltra::win32 {

// The full path of the running program's executable (the host program, for
// the DLL), however long. Throws std::runtime_error when the system cannot
// name it.
std::filesystem::path HostProgramPath();

}  // namespace zeltra::win32
