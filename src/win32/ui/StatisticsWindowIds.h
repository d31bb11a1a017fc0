#pragma once

#include <windows.h>

#include <cstddef>

namespace zeltra::win32 {

// What a host, a test or a screen reader may rely on to find the statistics
// window and its controls.
inline constexpr wchar_t kStatisticsWindowClass[] = L"ZeltraStatisticsWindow";
inline constexpr wchar_t kStatisticsGridClass[] = L"ZeltraStatisticsGrid";

inline constexpr int kGridId = 1000;               // the statistics grid
inline constexpr int kScoreLineId = 1001;          // STATIC showing the score line
inline constexpr int kRecalcButtonId = 1002;       // BUTTON "Recalc"
inline constexpr int kVoivodeshipButtonId = 1003;  // BUTTON "Voivodeship"

// Sent to the grid: copies the text of one cell, NUL-terminated, into a
// buffer of kGridCellTextCapacity chars.
//   wParam: MAKEWPARAM(column, row), column 0-5, row 0-7
//   lParam: char* buffer
//   result: the text's length, or -1 for a cell outside the grid
inline constexpr UINT kGridGetCellText = WM_APP + 10;
inline constexpr std::size_t kGridCellTextCapacity = 256;

// Posted to the statistics window to destroy it once the messages queued
// before it have been handled.
inline constexpr UINT kDeferredDestroyMessage = WM_APP + 1;

}  // namespace zeltra::win32
