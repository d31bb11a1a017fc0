#include "core/settings/IniDocument.h"

#include <algorithm>
#include <iterator>

namespace zeltra {
namespace {

// Control characters other than the tab cannot stand in a settings line.
bool HoldsControlCharacter(std::string_view line) {
  return std::any_of(line.begin(), line.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 32 && c != '\t') || byte == 127;
  });
}

// The name of a section heading line, or none.
std::optional<std::string_view> HeadingOf(std::string_view line) {
  const std::string_view trimmed = TrimControlAndBlank(line);
  if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']') return std::nullopt;
  return TrimControlAndBlank(trimmed.substr(1, trimmed.size() - 2));
}

// The name of a value line ("name=value"), or none.
std::optional<std::string_view> NameOf(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  const std::string_view name = TrimControlAndBlank(line.substr(0, equals));
  if (name.empty() || name.front() == ';' || name.front() == '#' || name.front() == '[')
    return std::nullopt;
  return name;
}

bool IsComment(std::string_view trimmed) {
  return !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument document;
  if (text.size() > kMaxTextSize) {
    document.Reindex();
    return document;
  }
  std::uint32_t section = 0;
  bool unreadableSection = false;  // under a heading that was dropped
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    const bool crlf = end != std::string_view::npos && text[end] == '\r' && end + 1 < text.size() &&
                      text[end + 1] == '\n';
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + (crlf ? 2 : 1));

    const std::string_view trimmed = TrimControlAndBlank(line);
    const bool wellFormedBytes = line.size() <= kMaxLineLength && !HoldsControlCharacter(line);
    const auto heading = wellFormedBytes ? HeadingOf(line) : std::nullopt;
    if (heading) {
      section = document.SectionId(*heading);
      unreadableSection = false;
      document.lines_.push_back({std::string(line), section, Kind::kHeading});
      continue;
    }
    if (!wellFormedBytes && !trimmed.empty() && trimmed.front() == '[') {
      unreadableSection = true;
      continue;
    }
    if (unreadableSection || !wellFormedBytes) continue;
    if (trimmed.empty())
      document.lines_.push_back({std::string(line), section, Kind::kBlank});
    else if (IsComment(trimmed))
      document.lines_.push_back({std::string(line), section, Kind::kComment});
    else if (NameOf(line))
      document.lines_.push_back({std::string(line), section, Kind::kValue});
    else if (trimmed.front() == '[')
      unreadableSection = true;  // "[name" and the like: a heading nobody can read
    // Anything else is no settings line.
  }
  document.Reindex();
  return document;
}

std::uint32_t IniDocument::SectionId(std::string_view name) {
  const auto found = sectionByName_.find(name);
  if (found != sectionByName_.end()) return found->second;
  const auto id = static_cast<std::uint32_t>(sectionNames_.size());
  sectionNames_.emplace_back(name);
  sectionByName_.emplace(std::string(name), id);
  return id;
}

void IniDocument::Reindex() {
  valueLineByName_.assign(sectionNames_.size(), NameMap{});
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    if (line.kind != Kind::kValue) continue;
    valueLineByName_[line.section].try_emplace(std::string(*NameOf(line.text)),
                                               static_cast<std::uint32_t>(i));
  }
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view name) const {
  const auto id = sectionByName_.find(section);
  if (id == sectionByName_.end()) return std::nullopt;
  const NameMap& values = valueLineByName_[id->second];
  const auto found = values.find(name);
  if (found == values.end()) return std::nullopt;
  const std::string_view text = lines_[found->second].text;
  return std::string(TrimControlAndBlank(text.substr(text.find('=') + 1)));
}

void IniDocument::Write(std::string_view section,
                        const std::vector<std::pair<std::string, std::string>>& values) {
  const std::uint32_t id = SectionId(section);
  NameMap written;
  for (const auto& value : values) written.try_emplace(value.first, 0);

  // Gather the section's own lines (from every copy), dropping the values
  // about to be written and the headings of later copies.
  std::vector<Line> kept;
  std::vector<Line> sectionLines;
  bool headingSeen = false;
  std::size_t insertAt = 0;
  for (Line& line : lines_) {
    if (line.section != id) {
      kept.push_back(std::move(line));
      continue;
    }
    if (line.kind == Kind::kHeading) {
      if (!headingSeen) insertAt = kept.size();
      headingSeen = true;
      continue;
    }
    if (line.kind == Kind::kValue && written.count(*NameOf(line.text)) != 0) continue;
    sectionLines.push_back(std::move(line));
  }
  if (!headingSeen) insertAt = kept.size();

  std::vector<Line> block;
  // A new section stands apart from what comes before it.
  if (!headingSeen && !kept.empty() && kept.back().kind != Kind::kBlank)
    block.push_back({"", kept.back().section, Kind::kBlank});
  block.push_back({"[" + std::string(section) + "]", id, Kind::kHeading});
  for (Line& line : sectionLines) block.push_back(std::move(line));
  for (const auto& [name, value] : values) block.push_back({name + "=" + value, id, Kind::kValue});

  kept.insert(kept.begin() + static_cast<std::ptrdiff_t>(insertAt),
              std::make_move_iterator(block.begin()), std::make_move_iterator(block.end()));
  lines_ = std::move(kept);
  Reindex();
}

std::string IniDocument::Serialize() const {
  std::size_t size = 0;
  for (const Line& line : lines_) size += line.text.size() + 2;
  std::string text;
  text.reserve(size);
  for (const Line& line : lines_) {
    text += line.text;
    text += "\r\n";
  }
  return text;
}

}  // namespace zeltra
