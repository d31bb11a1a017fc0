#include "win32/platform/HostProgram.h"

#include <windows.h>

#include <stdexcept>
#include <string>

namespace zeltra::win32 {

std::filesystem::path HostProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw std::runtime_error("Cannot find the host program's path");
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace zeltra::win32
