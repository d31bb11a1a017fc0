#include "settings/IniDocument.h"

#include <algorithm>

#include "text/Ascii.h"

namespace zeltra {
namespace {

// The name of a section heading line, or none.
std::optional<std::string> HeadingOf(std::string_view line) {
  const std::string_view trimmed = TrimControlAndBlank(line);
  if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']') return std::nullopt;
  return std::string(TrimControlAndBlank(trimmed.substr(1, trimmed.size() - 2)));
}

// The name of a value line ("name=value"), or none.
std::optional<std::string_view> NameOf(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  const std::string_view name = TrimControlAndBlank(line.substr(0, equals));
  if (name.empty() || name.front() == ';' || name.front() == '#') return std::nullopt;
  return name;
}

bool SameName(std::string_view a, std::string_view b) {
  return AsciiUpper(a) == AsciiUpper(b);
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument document;
  std::string section;
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    const bool crlf = end != std::string_view::npos && text[end] == '\r' && end + 1 < text.size() &&
                      text[end + 1] == '\n';
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + (crlf ? 2 : 1));
    if (line.find('\0') != std::string_view::npos || line.size() > kMaxLineLength) continue;
    if (const auto heading = HeadingOf(line)) section = *heading;
    document.lines_.push_back({std::string(line), section});
  }
  return document;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view name) const {
  for (const Line& line : lines_) {
    if (!SameName(line.section, section) || HeadingOf(line.text)) continue;
    const auto lineName = NameOf(line.text);
    if (lineName && SameName(*lineName, name)) {
      const std::string_view value = std::string_view(line.text).substr(line.text.find('=') + 1);
      return std::string(TrimControlAndBlank(value));
    }
  }
  return std::nullopt;
}

void IniDocument::Write(std::string_view section,
                        const std::vector<std::pair<std::string, std::string>>& values) {
  const auto written = [&](std::string_view lineText) {
    const auto name = NameOf(lineText);
    return name && std::any_of(values.begin(), values.end(),
                               [&](const auto& value) { return SameName(value.first, *name); });
  };

  // Gather the section's own lines (from every copy), dropping the values
  // about to be written and the headings of later copies.
  std::vector<Line> kept;
  std::vector<Line> sectionLines;
  bool headingSeen = false;
  std::size_t insertAt = 0;
  for (Line& line : lines_) {
    if (!SameName(line.section, section)) {
      kept.push_back(std::move(line));
      continue;
    }
    if (HeadingOf(line.text)) {
      if (!headingSeen) insertAt = kept.size();
      headingSeen = true;
      continue;
    }
    if (!written(line.text)) sectionLines.push_back(std::move(line));
  }
  if (!headingSeen) insertAt = kept.size();

  std::vector<Line> block;
  // A new section stands apart from what comes before it.
  if (!headingSeen && !kept.empty() && !TrimControlAndBlank(kept.back().text).empty())
    block.push_back({"", kept.back().section});
  block.push_back({"[" + std::string(section) + "]", std::string(section)});
  for (Line& line : sectionLines) block.push_back(std::move(line));
  for (const auto& [name, value] : values)
    block.push_back({name + "=" + value, std::string(section)});

  kept.insert(kept.begin() + static_cast<std::ptrdiff_t>(insertAt),
              std::make_move_iterator(block.begin()), std::make_move_iterator(block.end()));
  lines_ = std::move(kept);
}

std::string IniDocument::Serialize() const {
  std::string text;
  for (const Line& line : lines_) {
    text += line.text;
    text += "\r\n";
  }
  return text;
}

}  // namespace zeltra
