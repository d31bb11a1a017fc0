#include "win32/ui/BandButton.h"

#include <commctrl.h>

#include <array>

#include "core/ui/BandButtonLook.h"
#include "core/ui/Colour.h"
#include "win32/ui/BandButtonAccessible.h"
#include "win32/ui/Controls.h"
#include "win32/ui/GdiHandles.h"
#include "win32/ui/HotTracking.h"

namespace zeltra::win32::band_button {
namespace {

constexpr wchar_t kDesignedDownProperty[] = L"ZeltraDesignedDown";
constexpr int kFocusInset = 3;  // the focus rectangle's distance from the edge
constexpr int kPatternSize = 8;

BandButtonState StateOf(HWND button) {
  BandButtonState state;
  state.down = SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
  state.pushed = (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
  state.hot = IsHot(button);
  state.focused = GetFocus() == button;
  state.designedDown = GetPropW(button, kDesignedDownProperty) != nullptr;
  return state;
}

// The down state's face: button face and highlight in a checkerboard.
ScopedBrush DownPatternBrush() {
  std::array<WORD, kPatternSize> rows{};
  for (std::size_t y = 0; y < rows.size(); ++y) rows[y] = (y % 2 == 0) ? 0x55 : 0xAA;
  ScopedGdiObject<HBITMAP> pattern(CreateBitmap(kPatternSize, kPatternSize, 1, 1, rows.data()));
  return ScopedBrush(CreatePatternBrush(pattern.get()));
}

void Paint(HWND button) {
  PaintContext paint(button);
  HDC dc = paint.dc();
  const BandButtonLook look = LookOf(StateOf(button));
  RECT area{};
  GetClientRect(button, &area);

  const Colour face = GetSysColor(COLOR_BTNFACE);
  switch (look.fill) {
    case ButtonFill::kFace:
      FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
      break;
    case ButtonFill::kHot: {
      ScopedBrush hot(CreateSolidBrush(Shade(face, kHotLighten)));
      FillRect(dc, &area, hot.get());
      break;
    }
    case ButtonFill::kDownPattern: {
      // A monochrome pattern takes the text colour for its 0 bits and the
      // background colour for its 1 bits.
      const ScopedBrush pattern = DownPatternBrush();
      const COLORREF text = SetTextColor(dc, face);
      const COLORREF background = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
      FillRect(dc, &area, pattern.get());
      SetTextColor(dc, text);
      SetBkColor(dc, background);
      break;
    }
  }
  RECT edge = area;
  DrawEdge(dc, &edge, look.sunken ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  if (look.hotFrame) FrameRect(dc, &area, GetSysColorBrush(COLOR_HIGHLIGHT));

  wchar_t caption[16] = {};
  GetWindowTextW(button, caption, static_cast<int>(std::size(caption)));
  RECT text = area;
  if (look.sunken) OffsetRect(&text, 1, 1);
  ScopedSelection font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(button, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(IsWindowEnabled(button) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  DrawTextW(dc, caption, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

  if (look.focusRect) {
    RECT focus = area;
    InflateRect(&focus, -kFocusInset, -kFocusInset);
    DrawFocusRect(dc, &focus);
  }
}

// Messages after which the button's own procedure has drawn the button
// its way, at once: we draw it again, ours.
bool RedrawAfter(UINT message) {
  switch (message) {
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_UPDATEUISTATE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CAPTURECHANGED:
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK BandButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR) {
  switch (message) {
    case WM_PAINT:
      Paint(button);
      return 0;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_GETOBJECT:
      if (static_cast<LONG>(lParam) != OBJID_CLIENT) break;
      return AccessibleObject::Answer<BandButtonAccessible>(button, wParam, lParam);
    case WM_NCDESTROY:
      AccessibleObject::Forget(button);
      TrackHot(button, message);
      RemovePropW(button, kDesignedDownProperty);
      RemoveWindowSubclass(button, &BandButtonProc, 0);
      return DefSubclassProc(button, message, wParam, lParam);
    default:
      break;
  }
  if (TrackHot(button, message)) InvalidateRect(button, nullptr, FALSE);
  const LRESULT result = DefSubclassProc(button, message, wParam, lParam);
  if (RedrawAfter(message)) RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  return result;
}

}  // namespace

HWND Create(HWND parent, const wchar_t* caption, int id) {
  HWND button = CreateControl(parent, L"BUTTON", caption, BS_PUSHLIKE | BS_CHECKBOX, {}, id);
  if (button != nullptr) SetWindowSubclass(button, &BandButtonProc, 0, 0);
  return button;
}

void SetDesignedDown(HWND button, bool designedDown) {
  const bool was = GetPropW(button, kDesignedDownProperty) != nullptr;
  if (was == designedDown) return;
  if (designedDown)
    SetPropW(button, kDesignedDownProperty, reinterpret_cast<HANDLE>(1));
  else
    RemovePropW(button, kDesignedDownProperty);
  InvalidateRect(button, nullptr, FALSE);
}

}  // namespace zeltra::win32::band_button
