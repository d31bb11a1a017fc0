#pragma once

#include <windows.h>

namespace zeltra::win32 {

// What a host, a test or a screen reader may rely on to find the
// voivodeship window and its controls.
inline constexpr wchar_t kVoivodeshipWindowClass[] = L"ZeltraVoivodeshipWindow";
// The band buttons' ids: kBandButtonIdBase + band number (1 "1.8" to 9 "28").
// BM_GETCHECK answers BST_CHECKED for the button that is down.
inline constexpr int kBandButtonIdBase = 2000;
inline constexpr int kVoivodeshipListId = 2100;  // SysListView32 with the letters
inline constexpr int kSplitterId = 2101;

// Posted to the voivodeship window to destroy it once the messages queued
// before it have been handled.
inline constexpr UINT kDeferredDestroyVoivodeshipMessage = WM_APP + 3;

}  // namespace zeltra::win32
