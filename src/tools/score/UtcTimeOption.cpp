#include "tools/score/UtcTimeOption.h"

#include <optional>
#include <string>

#include "tools/score/ScoreOptions.h"

namespace zeltra::score {

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

}  // namespace zeltra::score
