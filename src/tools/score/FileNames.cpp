#include "tools/score/FileNames.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>

#include <stdexcept>

#include "win32/platform/HostProgram.h"
#endif

namespace zeltra::score {

#ifdef _WIN32

std::string Utf8Of(std::wstring_view text) {
  if (text.empty()) return {};
  const int wide = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, utf8.data(), size, nullptr, nullptr);
  return utf8;
}

std::wstring Utf16Of(std::string_view text) {
  if (text.empty()) return {};
  const int bytes = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), bytes, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), bytes, wide.data(), size);
  return wide;
}

std::filesystem::path PathOf(const std::string& name) {
  return std::filesystem::path(Utf16Of(name));
}

std::string NameOf(const std::filesystem::path& path) {
  return Utf8Of(path.native());
}

std::string ProgramFolder() {
  try {
    return NameOf(win32::HostProgramPath().parent_path());
  } catch (const std::runtime_error&) {
    return {};
  }
}

#else

std::filesystem::path PathOf(const std::string& name) {
  return std::filesystem::path(name);
}

std::string NameOf(const std::filesystem::path& path) {
  return path.string();
}

std::string ProgramFolder() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : self.parent_path().string();
}

#endif

}  // namespace zeltra::score
