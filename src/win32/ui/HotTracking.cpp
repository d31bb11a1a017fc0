#include "win32/ui/HotTracking.h"

namespace zeltra::win32 {
namespace {

constexpr wchar_t kHotProperty[] = L"ZeltraHot";

}  // namespace

bool IsHot(HWND control) {
  return GetPropW(control, kHotProperty) != nullptr;
}

bool TrackHot(HWND control, UINT message) {
  switch (message) {
    case WM_MOUSEMOVE: {
      if (IsHot(control)) return false;
      SetPropW(control, kHotProperty, reinterpret_cast<HANDLE>(1));
      TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, control, 0};
      TrackMouseEvent(&track);
      return true;
    }
    case WM_MOUSELEAVE:
      return RemovePropW(control, kHotProperty) != nullptr;
    case WM_NCDESTROY:
      RemovePropW(control, kHotProperty);
      return false;
    default:
      return false;
  }
}

}  // namespace zeltra::win32
