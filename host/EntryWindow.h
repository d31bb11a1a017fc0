#pragma once

// The reference host's window: an entry line for one contact. As the call
// sign is typed it shows what the plug-in would score and suggests the
// report from the prefill file; Enter logs the contact.

#include <windows.h>

#include "HostSession.h"

namespace zeltra::host {

// The entry line's controls.
enum EntryControl : int {
  kPluginLabel = 100,
  kCallSign = 101,
  kBand = 102,
  kMode = 103,
  kReport = 104,
  kContinent = 105,
  kDxcc = 106,
  kAnswer = 107,
};

class EntryWindow {
 public:
  EntryWindow(HostSession& session, const std::string& pluginName);
  ~EntryWindow();
  EntryWindow(const EntryWindow&) = delete;
  EntryWindow& operator=(const EntryWindow&) = delete;

  // Runs the message loop until the window is closed.
  void RunMessageLoop();

  HWND Handle() const { return window_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls(const std::string& pluginName);
  LogRow Contact() const;
  void CallSignChanged();
  void LogContact();
  std::string Text(int id) const;
  void SetText(int id, const std::string& text);

  HostSession& session_;
  HWND window_ = nullptr;
  HFONT font_ = nullptr;
  std::string prefilled_;  // the report the prefill put in, while untouched
};

}  // namespace zeltra::host
