#pragma once

#include <windows.h>

namespace zeltra::win32 {

// What a host, a test or a screen reader may rely on to find the statistics
// window and its controls.
inline constexpr wchar_t kStatisticsWindowClass[] = L"ZeltraStatisticsWindow";
inline constexpr int kScoreLineId = 1001;     // STATIC showing the score line
inline constexpr int kRecalcButtonId = 1002;  // BUTTON "Recalc"

// Posted to the statistics window to destroy it once the messages queued
// before it have been handled.
inline constexpr UINT kDeferredDestroyMessage = WM_APP + 1;

}  // namespace zeltra::win32
