#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "core/ui/StatisticsLayout.h"

namespace zeltra {

// A 16 x 16 picture drawn as text, one character a pixel: '.' is
// transparent, every other character names a colour (see PixelColour).
using PixelImage = std::array<std::string_view, 16>;

// The colour of a pixel character; none for a transparent pixel.
std::optional<Colour> PixelColour(char pixel);

// The images left of the captions of "Recalc" and "Voivodeship".
extern const PixelImage kRecalcImage;
extern const PixelImage kVoivodeshipImage;

}  // namespace zeltra
