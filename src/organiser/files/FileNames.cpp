#include "organiser/files/FileNames.h"

#include <string_view>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace zeltra::organiser {

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

namespace {

// Longer paths are given to Windows whole and absolute, after "\\?\":
// without it, Windows stops at 260 characters (and a folder of a longer
// name was listed as if it were the working folder).
constexpr std::size_t kLongestPlainPath = 240;
constexpr std::wstring_view kWholePath = L"\\\\?\\";
constexpr std::wstring_view kWholeNetworkPath = L"\\\\?\\UNC\\";
constexpr std::wstring_view kNetworkPath = L"\\\\";

bool StartsWith(std::wstring_view text, std::wstring_view start) {
  return text.substr(0, start.size()) == start;
}

}  // namespace

std::filesystem::path PathOf(const std::string& name) {
  const std::wstring wide = Utf16Of(name);
  if (wide.size() < kLongestPlainPath || StartsWith(wide, kWholePath)) return wide;
  // "." and ".." resolved and "/" turned to "\\", as "\\?\" asks.
  DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) return wide;
  std::wstring full(size, L'\0');
  size = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
  if (size == 0 || size >= full.size()) return wide;
  full.resize(size);
  if (StartsWith(full, kNetworkPath))
    return std::wstring(kWholeNetworkPath) + full.substr(kNetworkPath.size());
  return std::wstring(kWholePath) + full;
}

std::string NameOf(const std::filesystem::path& path) {
  const std::wstring_view native = path.native();
  if (StartsWith(native, kWholeNetworkPath))
    return Utf8Of(std::wstring(kNetworkPath) +
                  std::wstring(native.substr(kWholeNetworkPath.size())));
  if (StartsWith(native, kWholePath)) return Utf8Of(native.substr(kWholePath.size()));
  return Utf8Of(native);
}

#else

std::filesystem::path PathOf(const std::string& name) {
  return std::filesystem::path(name);
}

std::string NameOf(const std::filesystem::path& path) {
  return path.string();
}

#endif

std::string FileNameOf(const std::string& name) {
  const std::filesystem::path path = PathOf(name);
  return path.has_filename() ? NameOf(path.filename()) : name;
}

}  // namespace zeltra::organiser
