#include "win32/support/MessageBoxWatcher.h"

#include <chrono>

namespace zeltra::testing {
namespace {

constexpr int kMessageBoxTextId = 0xFFFF;  // the static text of a message box
constexpr wchar_t kDialogClass[] = L"#32770";

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM found) {
  wchar_t className[16] = {};
  GetClassNameW(hwnd, className, 16);
  if (std::wstring_view(className) == kDialogClass && IsWindowVisible(hwnd)) {
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(DWORD uiThread)
    : uiThread_(uiThread), thread_([this] { Watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
  stop_ = true;
  thread_.join();
}

std::vector<std::string> MessageBoxWatcher::texts() const {
  std::lock_guard lock(mutex_);
  return texts_;
}

void MessageBoxWatcher::Watch() {
  while (!stop_) {
    HWND box = nullptr;
    EnumThreadWindows(uiThread_, &FindDialog, reinterpret_cast<LPARAM>(&box));
    if (box != nullptr) {
      char text[2048] = {};
      GetDlgItemTextA(box, kMessageBoxTextId, text, static_cast<int>(sizeof text));
      {
        std::lock_guard lock(mutex_);
        texts_.emplace_back(text);
      }
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      while (!stop_ && IsWindow(box)) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace zeltra::testing
