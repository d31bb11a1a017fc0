#pragma once

#include <windows.h>

#include <exception>

namespace zeltra::win32 {

// The standard error message box: the operator reads the message, dismisses
// it, and the window goes on.
void ShowErrorBox(HWND owner, const char* message) noexcept;

// Runs handler; an exception escaping it is shown in the error message box
// instead of reaching the host, which is not C++ and would die of it.
template <class Handler>
void ReportingErrors(HWND owner, Handler&& handler) noexcept {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowErrorBox(owner, error.what());
  } catch (...) {
    ShowErrorBox(owner, "Unexpected error");
  }
}

}  // namespace zeltra::win32
