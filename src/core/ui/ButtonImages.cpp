#include "core/ui/ButtonImages.h"

namespace zeltra {

std::optional<Colour> PixelColour(char pixel) {
  switch (pixel) {
    case 'k':
      return RgbColour(0, 0, 0);
    case 'w':
      return RgbColour(255, 255, 255);
    case 'g':
      return RgbColour(0, 128, 0);
    case 'G':
      return RgbColour(64, 192, 64);
    case 'r':
      return RgbColour(208, 0, 0);
    case 'b':
      return RgbColour(0, 64, 192);
    default:
      return std::nullopt;
  }
}

// Two arrows chasing each other round a circle.
const PixelImage kRecalcImage = {
    "................",  //
    ".....gggggg.....",  //
    "...ggGGGGGGgg...",  //
    "..gGGg....gGGg..",  //
    ".gGg........gg..",  //
    ".gGg.......ggggg",  //
    "gGg.........gGg.",  //
    "gGg..........g..",  //
    "..g..........gGg",  //
    ".gGg.........gGg",  //
    "ggggg.......gGg.",  //
    "..gg........gGg.",  //
    "..gGGg....gGGg..",  //
    "...ggGGGGGGgg...",  //
    ".....gggggg.....",  //
    "................",  //
};

// A checklist: red ticks beside lines of text.
const PixelImage kVoivodeshipImage = {
    "................",  //
    ".kkkkkkkkkkkkkk.",  //
    ".kwwwwwwwwwwwwk.",  //
    ".kwwwrwwwwwwwwk.",  //
    ".kwrrwwbbbbbbwk.",  //
    ".kwwrwwwwwwwwwk.",  //
    ".kwwwwwwwwwwwwk.",  //
    ".kwwwrwwwwwwwwk.",  //
    ".kwrrwwbbbbbbwk.",  //
    ".kwwrwwwwwwwwwk.",  //
    ".kwwwwwwwwwwwwk.",  //
    ".kwwwwwwwwwwwwk.",  //
    ".kwwwwwbbbbbbwk.",  //
    ".kwwwwwwwwwwwwk.",  //
    ".kkkkkkkkkkkkkk.",  //
    "................",  //
};

}  // namespace zeltra
