#include "win32/ui/GridAccessible.h"

#include "core/ui/Speech.h"
#include "core/ui/StatisticsLayout.h"
#include "win32/ui/GdiHandles.h"
#include "win32/ui/StatisticsWindowIds.h"

namespace zeltra::win32 {
namespace {

constexpr char kTableName[] = "Statistics";

// The table as the grid shows it now.
StatisticTable TableOf(HWND grid) {
  StatisticTable table;
  for (std::size_t row = 0; row < StatisticTable::kRows; ++row) {
    for (std::size_t column = 0; column < StatisticTable::kColumns; ++column) {
      char text[kGridCellTextCapacity] = {};
      SendMessageA(grid, kGridGetCellText,
                   MAKEWPARAM(static_cast<WORD>(column), static_cast<WORD>(row)),
                   reinterpret_cast<LPARAM>(text));
      table.SetCell(column, row, text);
    }
  }
  return table;
}

}  // namespace

long GridAccessible::ChildCount() const {
  return static_cast<long>(kTableCells);
}

std::optional<std::string> GridAccessible::Name(long child) const {
  const auto cell = CellOfChild(child);
  if (!cell) return kTableName;
  return SpeechOfCell(TableOf(Window()), cell->first, cell->second).name;
}

std::optional<std::string> GridAccessible::Description(long child) const {
  const auto cell = CellOfChild(child);
  if (!cell) return std::nullopt;
  return SpeechOfCell(TableOf(Window()), cell->first, cell->second).description;
}

long GridAccessible::Role(long child) const {
  return child == CHILDID_SELF ? ROLE_SYSTEM_TABLE : ROLE_SYSTEM_CELL;
}

std::optional<RECT> GridAccessible::ChildRect(long child) const {
  const auto cell = CellOfChild(child);
  if (!cell) return std::nullopt;
  return ToRect(statistics_layout::CellRect(cell->first, cell->second, ScreenDpi()));
}

}  // namespace zeltra::win32
