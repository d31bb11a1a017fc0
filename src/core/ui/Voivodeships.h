#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "core/scoring/StringSet.h"
#include "core/scoring/VoivodeshipLetters.h"
#include "core/ui/Geometry.h"
#include "core/ui/StatisticsLayout.h"

namespace zeltra {

// The nine band texts, numbered 1 to 9: the band number is the band
// buttons' tag and the digit in their names.
inline constexpr std::array<std::string_view, 9> kBandNames = {"1.8", "3.5", "7",  "10", "14",
                                                               "18",  "21",  "24", "28"};
inline constexpr int kFirstBand = 1;
inline constexpr int kLastBand = 9;
// The button down in the designed state: "10".
inline constexpr int kDesignedBand = 4;

// The band buttons in the order the panel lays them out: "10" comes last.
inline constexpr std::array<int, 9> kBandButtonOrder = {1, 2, 3, 5, 6, 7, 8, 9, 4};

// The band text of band number n, or none outside 1 to 9.
std::optional<std::string_view> BandText(int band);

// The band sync's look-up: the number of the band whose text equals band
// with characters of codes 0 to 32 trimmed from both ends; none for an
// empty text or a band outside the table.
std::optional<int> BandNumberToShow(std::string_view band);

// How a letter of the voivodeship list is drawn under the current band text.
enum class LetterMark {
  kListDefault,  // the list's own colour, regular: nothing worked yet anywhere
  kNotWorked,    // black, regular
  kWorked,       // red, bold
};
inline constexpr Colour kWorkedColour = RgbColour(255, 0, 0);
inline constexpr Colour kNotWorkedColour = RgbColour(0, 0, 0);

// Searches the entries of voivList in order for band + "|" + letter + "|";
// the first entry that contains it marks the letter worked.
LetterMark MarkOf(const StringSet& voivList, std::string_view band, char letter);

// The band buttons' places in a panel of the given size, in layout order
// (kBandButtonOrder): all w = width div 9 wide and height - 1 high, the last
// one reaching to 4 pixels short of the panel's right edge. Empty for a
// panel of width 0.
std::array<Rect, 9> BandButtonLayout(int panelWidth, int panelHeight);

}  // namespace zeltra
