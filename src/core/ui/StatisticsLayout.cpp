#include "core/ui/StatisticsLayout.h"

namespace zeltra::statistics_layout {

Rect CellRect(std::size_t column, std::size_t row, int dpi) {
  const int width = ScaleToDpi(kColumnWidth, dpi);
  const int height = ScaleToDpi(kRowHeight, dpi);
  const int line = kGridLineWidth;
  const int left = static_cast<int>(column) * (width + line);
  const int top = static_cast<int>(row) * (height + line);
  return {left, top, left + width, top + height};
}

Point CellTextOrigin(const Rect& cell, int textWidth) {
  // C++ division rounds toward zero, as the placement requires.
  return {cell.left + (cell.right - cell.left) / 2 - textWidth / 2, cell.top};
}

}  // namespace zeltra::statistics_layout
