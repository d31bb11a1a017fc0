#include "tools/options/UtcTimeOption.h"

#include <optional>
#include <string>

#include "core/text/UtcMinute.h"

namespace zeltra::tools {

std::optional<std::string> ContestTime(const std::string& text) {
  std::string digits;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9')
      digits += c;
    else if (!((c == '-' && (i == 4 || i == 7)) || ((c == ' ' || c == 'T') && i == 10) ||
               (c == ':' && i == 13)))
      return std::nullopt;
  }
  if (digits.size() == 8) digits += "0000";
  if (!UtcMinuteOf(digits)) return std::nullopt;
  return digits;
}

CLI::Validator UtcTimeOption() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        const std::optional<std::string> minute = ContestTime(text);
        if (!minute) return "a UTC time such as \"2026-12-06 12:00\", not \"" + text + "\"";
        text = *minute;
        return {};
      },
      "");
}

}  // namespace zeltra::tools
