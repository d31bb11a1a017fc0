#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zeltra::robot {

// A UTC time as the records write it, "2026-12-08 17:05:03".
std::string UtcText(std::int64_t secondsSince1970);
std::string UtcNow();
// The seconds since 1970 of such a text; none when it is not one.
std::optional<std::int64_t> SecondsOfUtcText(const std::string& text);

}  // namespace zeltra::robot
