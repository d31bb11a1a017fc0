#pragma once

#include <windows.h>

namespace zeltra::win32 {

// Lets the window messages already pending on this thread run once, from
// inside a handler: every posted message queued before the call, then the
// pending input and paint messages. Messages posted while these run wait
// for the next pump or the host's own loop. A WM_QUIT met on the way is put
// back for the host's loop. marker must be a window of this thread that
// ignores kPumpMarkerMessage.
void PumpPendingMessages(HWND marker);

inline constexpr UINT kPumpMarkerMessage = WM_APP + 2;

}  // namespace zeltra::win32
