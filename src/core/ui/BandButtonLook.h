#pragma once

#include "core/ui/Colour.h"

namespace zeltra {

// What a band button of the voivodeship window is showing.
struct BandButtonState {
  bool down = false;     // its band is the one chosen (BM_GETCHECK)
  bool pushed = false;   // held in by the mouse or the space bar
  bool hot = false;      // the pointer is over it
  bool focused = false;  // it has the keyboard focus
  // The window has chosen no band yet, and this is the "10" button, down
  // in the designed state: drawn down, but plain.
  bool designedDown = false;
  bool operator==(const BandButtonState&) const = default;
};

enum class ButtonFill {
  kFace,         // the button-face colour
  kHot,          // the face lightened: the pointer is over it
  kDownPattern,  // the down state's checkered face and highlight
};

// How a band button is drawn.
struct BandButtonLook {
  ButtonFill fill = ButtonFill::kFace;
  bool sunken = false;     // a sunken edge, the caption one pixel down and right
  bool hotFrame = false;   // a frame in the highlight colour
  bool focusRect = false;  // the dotted focus rectangle
  bool operator==(const BandButtonLook&) const = default;
};

BandButtonLook LookOf(const BandButtonState& state);

}  // namespace zeltra
