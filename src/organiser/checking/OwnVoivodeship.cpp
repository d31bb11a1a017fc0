#include "organiser/checking/OwnVoivodeship.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "core/scoring/ContestRules.h"

namespace zeltra::organiser {

std::optional<char> OwnVoivodeshipOf(const std::vector<QsoDetails>& lines) {
  std::array<std::size_t, kVoivodeshipLetters.size()> counts{};
  for (const QsoDetails& line : lines)
    if (const std::optional<char> letter = VoivodeshipLetterOf(line.sent))
      ++counts[static_cast<std::size_t>(
          std::find(kVoivodeshipLetters.begin(), kVoivodeshipLetters.end(), *letter) -
          kVoivodeshipLetters.begin())];
  const auto most = std::max_element(counts.begin(), counts.end());
  if (*most * 2 <= lines.size()) return std::nullopt;
  return kVoivodeshipLetters[static_cast<std::size_t>(most - counts.begin())];
}

}  // namespace zeltra::organiser
