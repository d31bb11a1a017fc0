#include "win32/settings/PendingSave.h"

#include "win32/settings/SettingsFile.h"

namespace zeltra::win32 {

void PendingSave::Now(HWND window) {
  pending_ = false;
  SaveWindowSettings(window, settings_, true);
}

void PendingSave::AtDestruction(HWND window) {
  if (!pending_) return;
  pending_ = false;
  SaveWindowSettings(window, settings_, true);
}

}  // namespace zeltra::win32
