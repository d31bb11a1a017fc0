#include "win32/settings/FileReplacement.h"

#include <stdexcept>
#include <string>
#include <system_error>

namespace zeltra::win32 {
namespace {

std::string SystemErrorText(DWORD error) {
  char text[512] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                 text, sizeof text, nullptr);
  return text;
}

}  // namespace

DWORD WriteWithWriteFile(HANDLE file, std::string_view bytes) {
  DWORD written = 0;
  if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) return 0;
  return written;
}

void ReplaceFileContents(const std::filesystem::path& path, std::string_view text,
                         const FileWriter& write) {
  const std::filesystem::path temporary = path.wstring() + L".tmp";
  const auto fail = [&](const char* what, DWORD error) {
    throw std::runtime_error(std::string(what) + " the settings file " + path.string() + ": " +
                             SystemErrorText(error));
  };
  std::error_code ignored;
  std::filesystem::create_directories(path.parent_path(), ignored);
  HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) fail("Cannot write", GetLastError());
  const DWORD written = write(file, text);
  const DWORD writeError = written == text.size() ? ERROR_SUCCESS : GetLastError();
  const BOOL flushed = written == text.size() && FlushFileBuffers(file);
  const DWORD flushError = flushed ? ERROR_SUCCESS : GetLastError();
  CloseHandle(file);
  if (written != text.size() || !flushed) {
    DeleteFileW(temporary.c_str());
    // A short write with no error of the system's is a full disk.
    fail("Cannot write", writeError != ERROR_SUCCESS   ? writeError
                         : flushError != ERROR_SUCCESS ? flushError
                                                       : static_cast<DWORD>(ERROR_DISK_FULL));
  }
  if (!MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    const DWORD error = GetLastError();
    DeleteFileW(temporary.c_str());
    fail("Cannot replace", error);
  }
}

}  // namespace zeltra::win32
