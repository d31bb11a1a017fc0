#include "organiser/files/ProgramFolder.h"

#include <filesystem>
#include <system_error>

#include "organiser/files/FileNames.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace zeltra::organiser {

#ifdef _WIN32

std::string ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return NameOf(std::filesystem::path(path).parent_path());
    }
    path.resize(path.size() * 2);
  }
}

#else

std::string ProgramFolder() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : NameOf(self.parent_path());
}

#endif

}  // namespace zeltra::organiser
