#include "organiser/reading/FolderListing.h"

#include <filesystem>

#include "organiser/files/FileNames.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace zeltra::organiser {

#ifdef _WIN32

namespace {

struct FindCloser {
  void operator()(HANDLE find) const { FindClose(find); }
};

}  // namespace

std::vector<FolderEntry> FolderEntries(const std::string& folder, std::error_code& error) {
  std::vector<FolderEntry> entries;
  const std::filesystem::path path = PathOf(folder);
  const std::wstring pattern = (path / L"*").native();
  WIN32_FIND_DATAW found{};
  const HANDLE first =
      FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (first == INVALID_HANDLE_VALUE) {
    const DWORD cause = GetLastError();
    if (cause != ERROR_FILE_NOT_FOUND)
      error = std::error_code(static_cast<int>(cause), std::system_category());
    return entries;
  }
  const std::unique_ptr<void, FindCloser> find(first);
  do {
    const std::wstring_view leaf = found.cFileName;
    if (leaf == L"." || leaf == L"..") continue;
    const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const bool isDevice = (found.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0;
    entries.push_back({.name = NameOf(path / leaf),
                       .leaf = Utf8Of(leaf),
                       .folder = isFolder,
                       .regular = !isFolder && !isDevice});
  } while (FindNextFileW(first, &found));
  if (const DWORD cause = GetLastError(); cause != ERROR_NO_MORE_FILES)
    error = std::error_code(static_cast<int>(cause), std::system_category());
  return entries;
}

#else

std::vector<FolderEntry> FolderEntries(const std::string& folder, std::error_code& error) {
  namespace fs = std::filesystem;
  std::vector<FolderEntry> entries;
  for (const auto& entry : fs::directory_iterator(PathOf(folder), error)) {
    std::error_code ignored;
    const fs::file_status status = entry.status(ignored);
    entries.push_back({.name = NameOf(entry.path()),
                       .leaf = NameOf(entry.path().filename()),
                       .folder = fs::is_directory(status),
                       .regular = fs::is_regular_file(status)});
  }
  return entries;
}

#endif

}  // namespace zeltra::organiser
