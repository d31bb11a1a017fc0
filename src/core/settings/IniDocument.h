#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zeltra {

// The text of a per-user settings file: sections of "name=value" lines.
// Section and value names match without regard to ASCII letter case; where
// a file holds one twice, the first counts. Lines that are not ours
// (comments, other sections, other values) are kept as they stand, except
// lines that cannot be settings at all (holding NUL bytes, or longer than
// kMaxLineLength), which are dropped so that the next save writes a
// well-formed file.
class IniDocument {
 public:
  static constexpr std::size_t kMaxLineLength = 4096;

  static IniDocument Parse(std::string_view text);

  std::optional<std::string> Get(std::string_view section, std::string_view name) const;

  // Replaces the section's values of these names (every copy) with the
  // given ones, appended in the given order at the section's end; the
  // section is created at the end of the file when missing, and later
  // copies of it are merged into the first.
  void Write(std::string_view section,
             const std::vector<std::pair<std::string, std::string>>& values);

  // Lines end with CR LF.
  std::string Serialize() const;

 private:
  struct Line {
    std::string text;
    std::string section;  // the section the line belongs to; empty before the first
  };

  std::vector<Line> lines_;
};

}  // namespace zeltra
