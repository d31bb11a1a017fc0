#pragma once

#include <windows.h>

// The start of this module's own image, placed by the linker.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace zeltra::win32 {

// Creates a visible child control of this module with the given id.
inline HWND CreateControl(HWND parent, LPCWSTR className, LPCWSTR text, DWORD style,
                          const RECT& frame, int id) {
  return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, frame.left, frame.top,
                         frame.right - frame.left, frame.bottom - frame.top, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         reinterpret_cast<HINSTANCE>(&__ImageBase), nullptr);
}

}  // namespace zeltra::win32
