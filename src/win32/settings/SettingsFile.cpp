#include "win32/settings/SettingsFile.h"

#include <shlobj.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/settings/IniFileReader.h"
#include "win32/platform/ErrorBox.h"
#include "win32/platform/HostProgram.h"
#include "win32/settings/FileReplacement.h"

namespace zeltra::win32 {
namespace {

std::filesystem::path AppDataFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
    return folder;
  throw std::runtime_error("Cannot find the application data folder");
}

Rect FromRECT(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM found) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info))
    reinterpret_cast<std::vector<Rect>*>(found)->push_back(FromRECT(info.rcWork));
  return TRUE;
}

}  // namespace

SettingsFile::SettingsFile()
    : path_(AppDataFolder() / L"Zeltra" / (HostProgramPath().stem().wstring() + L".ini")) {}

IniDocument SettingsFile::Load() const {
  return ReadIniFile(path_);
}

void SettingsFile::Save(const IniDocument& settings) const {
  ReplaceFileContents(path_, settings.Serialize());
}

Screen CurrentScreen() {
  Screen screen;
  screen.width = GetSystemMetrics(SM_CXSCREEN);
  screen.height = GetSystemMetrics(SM_CYSCREEN);
  HDC dc = GetDC(nullptr);
  screen.pixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  EnumDisplayMonitors(nullptr, nullptr, &CollectMonitor,
                      reinterpret_cast<LPARAM>(&screen.monitors));
  // Placement coordinates count from the primary monitor's work area.
  RECT primary{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &primary, 0);
  for (Rect& monitor : screen.monitors) {
    monitor.left -= primary.left;
    monitor.right -= primary.left;
    monitor.top -= primary.top;
    monitor.bottom -= primary.top;
  }
  return screen;
}

bool RestoreWindowSettings(HWND window, WindowSettings& storage) {
  IniDocument settings;
  try {
    settings = SettingsFile().Load();
  } catch (const std::exception& error) {
    ShowErrorBox(window, error.what());
  }
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  const RestoredPlacement restored =
      storage.Restore(settings, FromRECT(placement.rcNormalPosition), CurrentScreen());
  if (restored.normal) {
    placement.rcNormalPosition = {restored.normal->left, restored.normal->top,
                                  restored.normal->right, restored.normal->bottom};
    placement.showCmd = SW_HIDE;
    SetWindowPlacement(window, &placement);
  }
  return restored.maximized;
}

void SaveWindowSettings(HWND window, WindowSettings& storage, bool visible) {
  if (!storage.restored()) return;
  WINDOWPLACEMENT native{};
  native.length = sizeof native;
  GetWindowPlacement(window, &native);
  const Placement placement{static_cast<int>(native.flags),
                            static_cast<int>(native.showCmd),
                            {native.ptMinPosition.x, native.ptMinPosition.y},
                            {native.ptMaxPosition.x, native.ptMaxPosition.y},
                            FromRECT(native.rcNormalPosition)};
  try {
    const SettingsFile file;
    IniDocument settings = file.Load();
    storage.Save(settings, placement, CurrentScreen(), visible);
    file.Save(settings);
  } catch (const std::exception& error) {
    ShowErrorBox(window, error.what());
  }
}

}  // namespace zeltra::win32
