#pragma once

#include <windows.h>

#include "core/ui/ButtonImages.h"

namespace zeltra::win32 {

// A push button (a standard BUTTON, drawn by its parent on WM_DRAWITEM) in
// the given face colour with a 16 x 16 image left of its caption,
// highlighted while the pointer is over it.
namespace image_button {

HWND Create(HWND parent, const wchar_t* caption, const RECT& frame, int id);

// Draws the button an owner-draw notification names.
void Draw(const DRAWITEMSTRUCT& item, const PixelImage& image, Colour face, int dpi);

}  // namespace image_button
}  // namespace zeltra::win32
