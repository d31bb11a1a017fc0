#include "core/logfile/LogKind.h"

#include <algorithm>
#include <optional>

#include "core/text/Ascii.h"
#include "core/text/LineReader.h"

namespace zeltra {
namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view start) {
  return text.size() >= start.size() &&
         EqualsIgnoringAsciiCase(text.substr(0, start.size()), start);
}

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
  for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1))
    if (StartsWithIgnoringCase(text.substr(at), part)) return true;
  return false;
}

bool IsNameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// An ADIF data specifier: "<" name ":" digits, then ">" or ":".
bool HasAdifField(std::string_view text) {
  for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
    std::size_t i = at + 1;
    while (i < text.size() && IsNameCharacter(text[i])) ++i;
    if (i == at + 1 || i >= text.size() || text[i] != ':') continue;
    const std::size_t digits = ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (i > digits && i < text.size() && (text[i] == '>' || text[i] == ':')) return true;
  }
  return false;
}

// Where a line starting with START-OF-LOG: starts.
std::optional<std::size_t> CabrilloStart(std::string_view text) {
  for (std::size_t line = 0; line < text.size();) {
    const std::size_t first = text.find_first_not_of(" \t", line);
    if (first == std::string_view::npos) break;
    if (StartsWithIgnoringCase(text.substr(first), "START-OF-LOG:")) return line;
    const std::size_t end = text.find_first_of("\r\n", line);
    if (end == std::string_view::npos) break;
    line = end + 1;
  }
  return std::nullopt;
}

}  // namespace

KnownLog KnowLog(std::string_view firstBytes) {
  std::string_view text = firstBytes.substr(0, kLogKindWindow);
  if (StartsWithIgnoringCase(text, "\xFF\xFE") || StartsWithIgnoringCase(text, "\xFE\xFF"))
    return {LogKind::kUtf16, 0, false};
  std::size_t bom = 0;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") bom = 3;
  text.remove_prefix(bom);
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  const std::string_view start = first == std::string_view::npos ? "" : text.substr(first);
  if ((StartsWithIgnoringCase(start, "<?xml") || StartsWithIgnoringCase(start, "<ADX")) &&
      ContainsIgnoringCase(text, "<ADX"))
    return {LogKind::kAdx, 0, false};
  if (const auto cabrillo = CabrilloStart(text))
    return {LogKind::kCabrillo, *cabrillo + bom, *cabrillo > 0,
            CountLineEnds(text.substr(0, *cabrillo))};
  if (ContainsIgnoringCase(text, "<EOH>") || ContainsIgnoringCase(text, "<EOR>") ||
      HasAdifField(text))
    return {LogKind::kAdif, 0, false};
  return {LogKind::kNotALog, 0, false};
}

std::string_view LogKindName(LogKind kind) {
  switch (kind) {
    case LogKind::kAdif:
      return "ADIF";
    case LogKind::kAdx:
      return "ADX";
    case LogKind::kCabrillo:
      return "Cabrillo";
    case LogKind::kUtf16:
      return "UTF-16 text";
    case LogKind::kNotALog:
      break;
  }
  return "not a log";
}

}  // namespace zeltra
