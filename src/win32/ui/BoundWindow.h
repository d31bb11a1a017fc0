#pragma once

#include <windows.h>

#include <memory>
#include <stdexcept>

#include "win32/platform/ErrorBox.h"

// The start of this module's own image, placed by the linker: the module
// handle of the DLL, whichever name the host loaded it under.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace zeltra::win32 {

// One C++ object per native window. The object is bound to its window at
// WM_NCCREATE; once CreateWindowEx has succeeded the window owns the object
// and deletes it at WM_NCDESTROY. The one window procedure of a class forwards
// every message to Derived::HandleMessage, and no exception ever leaves it.
template <class Derived>
class BoundWindow {
 public:
  HWND Handle() const { return hwnd_; }

  // The object bound to hwnd, a window of Derived's class; null once the
  // window is past WM_NCDESTROY.
  static Derived* FromHandle(HWND hwnd) {
    return reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }

 protected:
  BoundWindow() = default;
  ~BoundWindow() = default;
  BoundWindow(const BoundWindow&) = delete;
  BoundWindow& operator=(const BoundWindow&) = delete;

  // Registers the class whose one window procedure serves Derived, unless
  // this module has registered it already.
  static void RegisterWindowClass(LPCWSTR className, HBRUSH background) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(ModuleHandle(), className, &windowClass)) return;
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hInstance = ModuleHandle();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    if (RegisterClassExW(&windowClass) == 0)
      throw std::runtime_error("Cannot register a window class");
  }

  // Creates the window for self and hands self over to it; answers the
  // object, which lives as long as the window.
  static Derived& CreateOwned(std::unique_ptr<Derived> self, DWORD exStyle, LPCWSTR className,
                              DWORD style, const RECT& frame, HWND parent) {
    HWND hwnd = CreateWindowExW(exStyle, className, L"", style, frame.left, frame.top,
                                frame.right - frame.left, frame.bottom - frame.top, parent, nullptr,
                                ModuleHandle(), self.get());
    if (hwnd == nullptr) throw std::runtime_error("Cannot create the window");
    self->ownedByWindow_ = true;
    return *self.release();
  }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Derived* self = nullptr;
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      self = static_cast<Derived*>(create->lpCreateParams);
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);

    LRESULT result = 0;
    bool handled = false;
    ReportingErrors(hwnd, [&] { handled = self->HandleMessage(message, wParam, lParam, result); });
    if (!handled) result = DefWindowProcW(hwnd, message, wParam, lParam);

    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
      if (self->ownedByWindow_) std::unique_ptr<Derived> owned(self);
    }
    return result;
  }

  static HINSTANCE ModuleHandle() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

 private:
  HWND hwnd_ = nullptr;
  bool ownedByWindow_ = false;
};

}  // namespace zeltra::win32
