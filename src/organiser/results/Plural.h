#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zeltra::organiser {

// A count and its noun, which takes an "s" unless the count is one:
// "1 QSO", "2 QSOs", "0 logs".
std::string Plural(std::uint64_t count, std::string_view noun);

}  // namespace zeltra::organiser
