#include "win32/ui/ImageButton.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "core/ui/Colour.h"
#include "win32/ui/Controls.h"
#include "win32/ui/GdiHandles.h"
#include "win32/ui/HotTracking.h"

namespace zeltra::win32::image_button {
namespace {

constexpr int kImageSize = 16;
constexpr int kImageGap = 4;  // between the image and the caption
constexpr int kPressedDarken = 30;

// Runs before the button's own window procedure, which it then calls.
LRESULT CALLBACK TrackHover(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR) {
  if (TrackHot(hwnd, message)) InvalidateRect(hwnd, nullptr, FALSE);
  if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &TrackHover, 0);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

void DrawImage(HDC dc, const PixelImage& image, int left, int top, int dpi) {
  for (int y = 0; y < kImageSize; ++y) {
    for (int x = 0; x < kImageSize; ++x) {
      const auto colour =
          PixelColour(image[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]);
      if (!colour) continue;
      ScopedBrush brush(CreateSolidBrush(*colour));
      const RECT pixel{left + MulDiv(x, dpi, 96), top + MulDiv(y, dpi, 96),
                       left + MulDiv(x + 1, dpi, 96), top + MulDiv(y + 1, dpi, 96)};
      FillRect(dc, &pixel, brush.get());
    }
  }
}

}  // namespace

HWND Create(HWND parent, const wchar_t* caption, const RECT& frame, int id) {
  HWND button = CreateControl(parent, L"BUTTON", caption, WS_TABSTOP | BS_PUSHBUTTON | BS_OWNERDRAW,
                              frame, id);
  if (button != nullptr) SetWindowSubclass(button, &TrackHover, 0, 0);
  return button;
}

void Draw(const DRAWITEMSTRUCT& item, const PixelImage& image, Colour face, int dpi) {
  HDC dc = item.hDC;
  RECT area = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool hot = IsHot(item.hwndItem);
  const Colour fill = pressed ? Shade(face, -kPressedDarken)
                      : hot   ? Shade(face, kHotLighten)
                              : face;

  ScopedBrush faceBrush(CreateSolidBrush(fill));
  FillRect(dc, &area, faceBrush.get());
  ScopedBrush frameBrush(CreateSolidBrush(hot ? GetSysColor(COLOR_HIGHLIGHT) : Shade(face, -80)));
  FrameRect(dc, &area, frameBrush.get());
  if (hot) {
    RECT inner = area;
    InflateRect(&inner, -1, -1);
    FrameRect(dc, &inner, frameBrush.get());
  }

  wchar_t caption[64] = {};
  GetWindowTextW(item.hwndItem, caption, static_cast<int>(std::size(caption)));
  SIZE text{};
  GetTextExtentPoint32W(dc, caption, lstrlenW(caption), &text);
  const int imageSize = MulDiv(kImageSize, dpi, 96);
  const int gap = MulDiv(kImageGap, dpi, 96);
  const int shift = pressed ? 1 : 0;
  const int contentWidth = imageSize + gap + text.cx;
  const int left = area.left + (area.right - area.left - contentWidth) / 2 + shift;
  const int middle = (area.top + area.bottom) / 2 + shift;

  DrawImage(dc, image, left, middle - imageSize / 2, dpi);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  TextOutW(dc, left + imageSize + gap, middle - text.cy / 2, caption, lstrlenW(caption));

  if (item.itemState & ODS_FOCUS) {
    RECT focus = area;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
}

}  // namespace zeltra::win32::image_button
