#include "win32/ui/BandButtonAccessible.h"

namespace zeltra::win32 {

std::optional<std::string> BandButtonAccessible::Name(long) const {
  char caption[16] = {};
  GetWindowTextA(Window(), caption, static_cast<int>(sizeof caption));
  return caption;
}

long BandButtonAccessible::State(long) const {
  const bool down = SendMessageW(Window(), BM_GETCHECK, 0, 0) == BST_CHECKED;
  return STATE_SYSTEM_FOCUSABLE | (down ? STATE_SYSTEM_PRESSED | STATE_SYSTEM_CHECKED : 0);
}

}  // namespace zeltra::win32
