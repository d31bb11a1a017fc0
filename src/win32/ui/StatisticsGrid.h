#pragma once

#include <windows.h>

#include "core/scoring/StatisticTable.h"
#include "win32/ui/BoundWindow.h"
#include "win32/ui/GdiHandles.h"

namespace zeltra::win32 {

// The grid: draws the statistics table's 6 x 8 cells. It is disabled, so
// it takes no focus, selection, scrolling or editing; its cell texts can be
// read with kGridGetCellText (see StatisticsWindowIds.h).
class StatisticsGrid : public BoundWindow<StatisticsGrid> {
 public:
  // table must outlive the grid window.
  StatisticsGrid(const StatisticTable& table, int dpi);

  static StatisticsGrid& Create(HWND parent, const RECT& frame, int id, const StatisticTable& table,
                                int dpi);

  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  void Paint();
  // One cell: its interior filled, its text centred at the top.
  void DrawCell(HDC dc, std::size_t column, std::size_t row);
  LRESULT CopyCellText(WPARAM cell, LPARAM buffer) const;

  const StatisticTable& table_;
  int dpi_;
  ScopedFont font_;
  ScopedBrush background_;
};

}  // namespace zeltra::win32
