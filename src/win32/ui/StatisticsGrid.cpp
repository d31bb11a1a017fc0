#include "win32/ui/StatisticsGrid.h"

#include "win32/ui/GridAccessible.h"

#include <algorithm>
#include <cstring>

#include "core/ui/StatisticsLayout.h"
#include "win32/ui/StatisticsWindowIds.h"

namespace zeltra::win32 {

namespace layout = statistics_layout;

StatisticsGrid::StatisticsGrid(const StatisticTable& table, int dpi)
    : table_(table),
      dpi_(dpi),
      font_(MakeFont(L"MS Sans Serif", layout::kFontHeight, FW_NORMAL, DEFAULT_PITCH, dpi)),
      background_(CreateSolidBrush(layout::kGridColour)) {}

StatisticsGrid& StatisticsGrid::Create(HWND parent, const RECT& frame, int id,
                                       const StatisticTable& table, int dpi) {
  RegisterWindowClass(kStatisticsGridClass, nullptr);
  StatisticsGrid& grid =
      CreateOwned(std::make_unique<StatisticsGrid>(table, dpi), WS_EX_CLIENTEDGE,
                  kStatisticsGridClass, WS_CHILD | WS_VISIBLE | WS_DISABLED, frame, parent);
  SetWindowLongPtrW(grid.Handle(), GWLP_ID, id);
  return grid;
}

void StatisticsGrid::DrawCell(HDC dc, std::size_t column, std::size_t row) {
  const Rect cell = layout::CellRect(column, row, dpi_);
  const RECT area = ToRect(cell);
  FillRect(dc, &area, background_.get());
  const std::string& text = table_.Cell(column, row);
  SIZE extent{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &extent);
  const layout::Point origin = layout::CellTextOrigin(cell, static_cast<int>(extent.cx));
  TextOutA(dc, origin.x, origin.y, text.data(), static_cast<int>(text.size()));
}

void StatisticsGrid::Paint() {
  PaintContext paint(Handle());
  HDC dc = paint.dc();
  RECT client{};
  GetClientRect(Handle(), &client);
  FillRect(dc, &client, background_.get());

  // Grid lines to the right of and below every cell.
  const Rect last = layout::CellRect(layout::kGridColumns - 1, layout::kGridRows - 1, dpi_);
  ScopedBrush lines(CreateSolidBrush(layout::kGridLineColour));
  for (std::size_t column = 0; column < layout::kGridColumns; ++column) {
    const Rect cell = layout::CellRect(column, 0, dpi_);
    const RECT line{cell.right, 0, cell.right + layout::kGridLineWidth,
                    last.bottom + layout::kGridLineWidth};
    FillRect(dc, &line, lines.get());
  }
  for (std::size_t row = 0; row < layout::kGridRows; ++row) {
    const Rect cell = layout::CellRect(0, row, dpi_);
    const RECT line{0, cell.bottom, last.right + layout::kGridLineWidth,
                    cell.bottom + layout::kGridLineWidth};
    FillRect(dc, &line, lines.get());
  }

  ScopedSelection font(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  for (std::size_t row = 0; row < layout::kGridRows; ++row)
    for (std::size_t column = 0; column < layout::kGridColumns; ++column) DrawCell(dc, column, row);
}

LRESULT StatisticsGrid::CopyCellText(WPARAM cell, LPARAM buffer) const {
  const std::size_t column = LOWORD(cell);
  const std::size_t row = HIWORD(cell);
  if (column >= layout::kGridColumns || row >= layout::kGridRows || buffer == 0) return -1;
  const std::string& text = table_.Cell(column, row);
  const std::size_t length = std::min<std::size_t>(text.size(), kGridCellTextCapacity - 1);
  char* out = reinterpret_cast<char*>(buffer);
  std::memcpy(out, text.data(), length);
  out[length] = '\0';
  return static_cast<LRESULT>(length);
}

bool StatisticsGrid::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_PAINT:
      Paint();
      result = 0;
      return true;
    case WM_ERASEBKGND:
      result = 1;  // Paint fills everything
      return true;
    case WM_GETOBJECT:
      result = AccessibleObject::Answer<GridAccessible>(Handle(), wParam, lParam);
      return true;
    case WM_DESTROY:
      AccessibleObject::Forget(Handle());
      return false;
    case kGridGetCellText:
      result = CopyCellText(wParam, lParam);
      return true;
    default:
      return false;
  }
}

}  // namespace zeltra::win32
