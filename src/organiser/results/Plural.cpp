#include "organiser/results/Plural.h"

namespace zeltra::organiser {

std::string Plural(std::uint64_t count, std::string_view noun) {
  return std::to_string(count) + " " + std::string(noun) + (count == 1 ? "" : "s");
}

}  // namespace zeltra::organiser
