#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zeltra {

// A UTC time "YYYYMMDDHHMM" as minutes since 1970-01-01 00:00; none when
// it is no such time (a 31st of a 30-day month, an hour 24).
std::optional<std::int64_t> UtcMinuteOf(std::string_view when);

// The other way: minutes since 1970 as "YYYYMMDDHHMM".
std::string UtcMinuteText(std::int64_t minute);

}  // namespace zeltra
