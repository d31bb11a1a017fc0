#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "core/logscore/LogReading.h"

namespace zeltra::organiser {

// Poland's DXCC prefix: its stations send their voivodeship's letter.
inline constexpr std::string_view kPolandPrefix = "SP";

// The voivodeship a Polish station sends: the letter that ends the
// exchange it sent on more than half its lines; none when no letter does
// (a station that sends serial numbers, a log whose lines disagree).
std::optional<char> OwnVoivodeshipOf(const std::vector<QsoDetails>& lines);

}  // namespace zeltra::organiser
