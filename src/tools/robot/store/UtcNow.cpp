#include "tools/robot/store/UtcNow.h"

#include <ctime>

namespace zeltra::robot {

std::string UtcText(std::int64_t secondsSince1970) {
  const auto time = static_cast<std::time_t>(secondsSince1970);
  std::tm utc{};
  gmtime_r(&time, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &utc);
  return text;
}

std::string UtcNow() {
  return UtcText(static_cast<std::int64_t>(std::time(nullptr)));
}

std::optional<std::int64_t> SecondsOfUtcText(const std::string& text) {
  std::tm utc{};
  const char* end = strptime(text.c_str(), "%Y-%m-%d %H:%M:%S", &utc);
  if (end == nullptr || *end != '\0') return std::nullopt;
  return static_cast<std::int64_t>(timegm(&utc));
}

}  // namespace zeltra::robot
