#include "core/ui/BandButtonLook.h"

namespace zeltra {

BandButtonLook LookOf(const BandButtonState& state) {
  BandButtonLook look;
  look.sunken = state.down || state.pushed;
  if (state.down && !state.designedDown)
    look.fill = ButtonFill::kDownPattern;
  else if (state.hot)
    look.fill = ButtonFill::kHot;
  look.hotFrame = state.hot;
  look.focusRect = state.focused && !state.designedDown;
  return look;
}

}  // namespace zeltra
