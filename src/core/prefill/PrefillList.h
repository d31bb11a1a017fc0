#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

namespace zeltra {

// The exchanges listed in the prefill file, one "call sign=exchange" entry per
// line. The first line for a call sign (compared without regard to ASCII
// letter case) wins; lines without "=" are ignored.
class PrefillList {
 public:
  // Lines end with CR, LF or CR LF; the last line needs no line end. A
  // leading UTF-8 byte-order mark is no part of the first line; a text that
  // starts with a UTF-16 one (as Notepad saves "Unicode") is read as UTF-8.
  // Blanks around a call sign are no part of it.
  static PrefillList FromText(std::string_view text);

  // Reads the file when it exists and is a regular file; a missing file, or
  // a folder of that name, gives an empty list. A file that exists but
  // cannot be read throws std::runtime_error naming it.
  static PrefillList FromFile(const std::filesystem::path& path);

  // The text after the first "=" of the first line whose part before it
  // matches callSign; empty when no line does.
  std::string LookupExchange(std::string_view callSign) const;

  std::size_t size() const { return exchangeByCall_.size(); }

 private:
  void AddLine(std::string_view line);

  std::unordered_map<std::string, std::string> exchangeByCall_;
};

}  // namespace zeltra
