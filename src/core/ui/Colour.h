#pragma once

#include <algorithm>
#include <cstdint>

namespace zeltra {

// Colours as the window system takes them: red in the low byte, then green,
// then blue (0x00BBGGRR).
using Colour = std::uint32_t;
inline constexpr Colour RgbColour(int red, int green, int blue) {
  return static_cast<Colour>(red) | (static_cast<Colour>(green) << 8) |
         (static_cast<Colour>(blue) << 16);
}

// colour with delta added to each channel, kept within 0 to 255.
constexpr Colour Shade(Colour colour, int delta) {
  const auto channel = [&](int shift) {
    return std::clamp(static_cast<int>((colour >> shift) & 0xFF) + delta, 0, 255);
  };
  return RgbColour(channel(0), channel(8), channel(16));
}

// How much a button's face lightens while the pointer is over it, per
// colour channel.
inline constexpr int kHotLighten = 40;

}  // namespace zeltra
