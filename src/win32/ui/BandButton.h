#pragma once

#include <windows.h>

namespace zeltra::win32 {

// A band button of the voivodeship window: a standard push-like check-box
// BUTTON, so that BM_GETCHECK and BM_SETCHECK tell and set "down" as for
// any button, drawn by us as LookOf (BandButtonLook) says: highlighted
// while the pointer is over it, down with the down state's pattern, and
// the designed state's "10" down but plain.
namespace band_button {

HWND Create(HWND parent, const wchar_t* caption, int id);

// Marks the button as the one down in the designed state (no band chosen
// yet), or no longer so.
void SetDesignedDown(HWND button, bool designedDown);

}  // namespace band_button
}  // namespace zeltra::win32
