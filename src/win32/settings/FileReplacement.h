#pragma once

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string_view>

namespace zeltra::win32 {

// Writes bytes to an open file and answers how many it wrote: all of them,
// or fewer when the write failed.
using FileWriter = std::function<DWORD(HANDLE file, std::string_view bytes)>;

// The system's WriteFile, once.
DWORD WriteWithWriteFile(HANDLE file, std::string_view bytes);

// Replaces the file at path with text: written and flushed beside it first,
// then moved over it, so that a crash, a full disk or a short write never
// leaves half a file, and the old file stays whole when anything fails.
// Creates the folder when missing. Throws std::runtime_error naming the
// file and the system's reason.
void ReplaceFileContents(const std::filesystem::path& path, std::string_view text,
                         const FileWriter& write = WriteWithWriteFile);

}  // namespace zeltra::win32
