#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/text/Ascii.h"

namespace zeltra {

// The text of a per-user settings file: sections of "name=value" lines.
// Section and value names match without regard to ASCII letter case; where
// a file holds one twice, the first counts.
//
// Well-formed lines that are not ours (comments, blank lines, other
// sections, other values) are kept as they stand. Lines that are not well
// formed (holding a NUL or another control character, longer than
// kMaxLineLength, or neither a heading, a value, a comment nor blank) are
// dropped, so that the next save writes a well-formed file. A dropped line
// that was meant as a heading (it starts with "[") takes the lines under it
// along, up to the next heading: they belong to a section nobody can name,
// and must never be read as, or saved into, the section above.
//
// A text longer than kMaxTextSize is no settings file: it is read as an
// empty one. Parsing, look-ups and writing cost time linear in the text.
class IniDocument {
 public:
  static constexpr std::size_t kMaxLineLength = 4096;
  // The settings the plug-in writes take well under 1 KiB.
  static constexpr std::size_t kMaxTextSize = 256 * 1024;

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
  enum class Kind : std::uint8_t { kBlank, kComment, kHeading, kValue };
  struct Line {
    std::string text;
    std::uint32_t section;  // index into sectionNames_; 0 before the first heading
    Kind kind;
  };
  using NameMap = std::unordered_map<std::string, std::uint32_t, AsciiCaseInsensitiveHash,
                                     AsciiCaseInsensitiveEqual>;

  std::uint32_t SectionId(std::string_view name);
  void Reindex();

  std::vector<Line> lines_;
  std::vector<std::string> sectionNames_{std::string()};
  NameMap sectionByName_{{std::string(), 0}};
  // For each section, its values' lines by name: the first of each name.
  std::vector<NameMap> valueLineByName_;
};

}  // namespace zeltra
