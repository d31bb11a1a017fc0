#pragma once

#include <algorithm>
#include <array>

namespace zeltra {

// The sixteen voivodeship letters, in the voivodeship window's list order:
// the letters a received report may end in to count as a voivodeship, and
// the letters the window marks.
inline constexpr std::array<char, 16> kVoivodeshipLetters = {
    'B', 'C', 'D', 'F', 'G', 'J', 'K', 'L', 'M', 'O', 'P', 'R', 'S', 'U', 'W', 'Z'};

constexpr bool IsVoivodeshipLetter(char c) {
  return std::find(kVoivodeshipLetters.begin(), kVoivodeshipLetters.end(), c) !=
         kVoivodeshipLetters.end();
}

}  // namespace zeltra
