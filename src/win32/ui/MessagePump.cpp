#include "win32/ui/MessagePump.h"

namespace zeltra::win32 {
namespace {

// Pending input and paint messages dispatched at most per pump: a window
// that never validates itself must not keep us here.
constexpr int kMaxInputAndPaintMessages = 256;

// Dispatches one message; false when it was WM_QUIT, which is put back.
bool Dispatch(MSG& message) {
  if (message.message == WM_QUIT) {
    PostQuitMessage(static_cast<int>(message.wParam));
    return false;
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
  return true;
}

}  // namespace

void PumpPendingMessages(HWND marker) {
  // Posted messages leave the queue in the order they came: everything
  // before our marker was pending when we were called. Each pump has its
  // own marker (the address of its own frame), so a nested pump that
  // swallows ours ends our loop only once the queue is empty.
  MSG message;
  const auto ours = reinterpret_cast<WPARAM>(&message);
  if (PostMessageW(marker, kPumpMarkerMessage, ours, 0)) {
    while (
        PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE)) {
      if (message.message == kPumpMarkerMessage && message.hwnd == marker && message.wParam == ours)
        break;
      if (!Dispatch(message)) return;
    }
  }
  for (int i = 0; i < kMaxInputAndPaintMessages &&
                  PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT | PM_QS_PAINT);
       ++i) {
    if (!Dispatch(message)) return;
  }
}

}  // namespace zeltra::win32
