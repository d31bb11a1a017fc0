#pragma once

#include <windows.h>

#include "core/settings/WindowSettings.h"

namespace zeltra::win32 {

// A window's last save of its settings, made once: when the plug-in is
// released, where a failure can still be reported, or else when the window
// is destroyed; and never while the DLL unloads, where the loader lock
// forbids writing a file or showing a message box.
class PendingSave {
 public:
  explicit PendingSave(WindowSettings& settings) : settings_(settings) {}

  // Saves now (a failure is reported); the destruction then saves nothing.
  void Now(HWND window);
  // Saves unless saved or forgone already; for the window's destruction.
  void AtDestruction(HWND window);
  // The DLL is leaving the process: nothing is saved any more.
  void Forgo() { pending_ = false; }

 private:
  WindowSettings& settings_;
  bool pending_ = true;
};

}  // namespace zeltra::win32
