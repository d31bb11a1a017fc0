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

// Sent to the voivodeship window by the list's accessible object:
//   kVoivodeshipLetterState: wParam a letter; result its LetterState on the band shown
//   kVoivodeshipBandShown: result the band number shown, 0 before any
inline constexpr UINT kVoivodeshipLetterState = WM_APP + 20;
inline constexpr UINT kVoivodeshipBandShown = WM_APP + 21;

// Posted to the voivodeship window to destroy it once the messages queued
// before it have been handled.
inline constexpr UINT kDeferredDestroyVoivodeshipMessage = WM_APP + 3;

}  // namespace zeltra::win32
