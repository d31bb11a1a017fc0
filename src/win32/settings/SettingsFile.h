#pragma once

#include <windows.h>

#include <filesystem>

#include "core/settings/IniDocument.h"
#include "core/settings/WindowSettings.h"

namespace zeltra::win32 {

// The per-user settings file: %APPDATA%\Zeltra\<host program's base name>.ini.
class SettingsFile {
 public:
  SettingsFile();

  // The file's settings; a missing file holds none. Throws
  // std::runtime_error naming the file when it exists but cannot be read.
  IniDocument Load() const;

  // Replaces the file: written beside it first, then moved over it, so
  // that a crash or a full disk never leaves half a file. Throws
  // std::runtime_error naming the file when it cannot be written.
  void Save(const IniDocument& settings) const;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The screen as the settings see it: size, pixels per inch and the
// monitors' work areas in placement coordinates.
Screen CurrentScreen();

// Restores a window's placement from the settings file before it is first
// shown (the window is still hidden). Reports a file that cannot be read
// in the error message box; the window then keeps its designed place.
// Answers whether the window is to open maximized.
bool RestoreWindowSettings(HWND window, WindowSettings& storage);

// Saves a window's placement (and stored values) into the settings file,
// if it was restored since it last saved. Reports failures in the error
// message box.
void SaveWindowSettings(HWND window, WindowSettings& storage, bool visible);

}  // namespace zeltra::win32
