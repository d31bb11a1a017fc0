#pragma once

#include <windows.h>

namespace zeltra::win32 {

// Whether the pointer is over a control, kept as a property of the control
// by TrackHot, which its window procedure runs for every message.
bool IsHot(HWND control);

// Follows the pointer entering (WM_MOUSEMOVE) and leaving (WM_MOUSELEAVE)
// the control, and forgets it at WM_NCDESTROY. Answers whether the control
// turned hot or cold, and so needs drawing again.
bool TrackHot(HWND control, UINT message);

}  // namespace zeltra::win32
