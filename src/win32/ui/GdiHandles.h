#pragma once

#include <windows.h>

#include <utility>

#include "core/ui/Geometry.h"

namespace zeltra::win32 {

// Owns one GDI object (font, brush, pen, bitmap) and deletes it.
template <class Handle>
class ScopedGdiObject {
 public:
  ScopedGdiObject() = default;
  explicit ScopedGdiObject(Handle handle) : handle_(handle) {}
  ~ScopedGdiObject() { Reset(); }
  ScopedGdiObject(ScopedGdiObject&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
  ScopedGdiObject& operator=(ScopedGdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, {});
    }
    return *this;
  }
  ScopedGdiObject(const ScopedGdiObject&) = delete;
  ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;

  Handle get() const { return handle_; }
  void Reset(Handle handle = {}) {
    if (handle_ != nullptr) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedPen = ScopedGdiObject<HPEN>;

// Selects an object into a device context and puts the previous one back.
class ScopedSelection {
 public:
  ScopedSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~ScopedSelection() { SelectObject(dc_, previous_); }
  ScopedSelection(const ScopedSelection&) = delete;
  ScopedSelection& operator=(const ScopedSelection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// BeginPaint and EndPaint for one WM_PAINT.
class PaintContext {
 public:
  explicit PaintContext(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &paint_); }
  ~PaintContext() { EndPaint(hwnd_, &paint_); }
  PaintContext(const PaintContext&) = delete;
  PaintContext& operator=(const PaintContext&) = delete;

  HDC dc() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// A window's device context for measuring, released again.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() { ReleaseDC(hwnd_, dc_); }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC dc() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// The screen's logical pixels per inch.
inline int ScreenDpi() {
  WindowDc screen(nullptr);
  return GetDeviceCaps(screen.dc(), LOGPIXELSY);
}

// A font of the given character height (in pixels at dpi).
inline ScopedFont MakeFont(const wchar_t* face, int characterHeight, int weight, BYTE pitch,
                           int dpi) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(characterHeight, dpi, 96);
  font.lfWeight = weight;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfPitchAndFamily = pitch;
  lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
  return ScopedFont(CreateFontIndirectW(&font));
}

inline RECT ToRect(const zeltra::Rect& rect) {
  return {rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace zeltra::win32
