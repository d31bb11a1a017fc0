#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zeltra::organiser {

// Names of files as the program keeps and prints them, in std::string:
// UTF-8 on Windows, whose file names are UTF-16 (a name with a Polish
// letter survives, whatever the ANSI code page); the system's own bytes
// elsewhere, passed through unchanged.
std::filesystem::path PathOf(const std::string& name);
std::string NameOf(const std::filesystem::path& path);
// The last part of a path ("DL1AAA.log" of "/home/org/logs/DL1AAA.log"):
// what is shown of a log's file to anyone but the organiser, whose folders
// stay private.
std::string FileNameOf(const std::string& name);

#ifdef _WIN32
// UTF-16 to UTF-8 and back; a unit that is no character becomes U+FFFD.
std::string Utf8Of(std::wstring_view text);
std::wstring Utf16Of(std::string_view text);
#endif

}  // namespace zeltra::organiser
