#pragma once

#include <array>

#include "core/scoring/ContestRules.h"
#include "core/ui/Colour.h"
#include "core/ui/Geometry.h"

namespace zeltra {

// How a letter of the voivodeship list is drawn: red and bold when worked
// on the band shown, black and regular when not, and in the list's own
// colour while nothing is worked on any band.
inline constexpr Colour kWorkedColour = RgbColour(255, 0, 0);
inline constexpr Colour kNotWorkedColour = RgbColour(0, 0, 0);

// The band numbers in the order their buttons stand, left to right.
std::array<int, 9> BandButtonOrder();

// The band buttons' places in a panel of the given size, in button order:
// all w = width div 9 wide and height - 1 high, the last one reaching to
// 4 pixels short of the panel's right edge. Empty for a panel of width 0.
std::array<Rect, 9> BandButtonLayout(int panelWidth, int panelHeight);

}  // namespace zeltra
