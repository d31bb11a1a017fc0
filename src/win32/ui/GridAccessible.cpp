#include "win32/ui/GridAccessible.h"

#include "core/ui/Speech.h"
#include "core/ui/StatisticsLayout.h"
#include "win32/ui/GdiHandles.h"
#include "win32/ui/StatisticsWindowIds.h"

namespace zeltra::win32 {
namespace {

constexpr char kTableName[] = "Statistics";

// What a reader hears of the cell numbered child: the cell and its two
// headings, as the grid shows them now; none for the table itself.
std::optional<CellSpeech> SpeechOfChild(HWND grid, long child) {
  const auto cell = CellOfChild(child);
  if (!cell) return std::nullopt;
  const auto [column, row] = *cell;
  StatisticTable table;
  for (const auto& [c, r] :
       {*cell, std::pair{std::size_t{0}, row}, std::pair{column, std::size_t{0}}}) {
    char text[kGridCellTextCapacity] = {};
    SendMessageA(grid, kGridGetCellText, MAKEWPARAM(static_cast<WORD>(c), static_cast<WORD>(r)),
                 reinterpret_cast<LPARAM>(text));
    table.SetCell(c, r, text);
  }
  return SpeechOfCell(table, column, row);
}

}  // namespace

long GridAccessible::ChildCount() const {
  return static_cast<long>(kTableCells);
}

std::optional<std::string> GridAccessible::Name(long child) const {
  const auto speech = SpeechOfChild(Window(), child);
  return speech ? speech->name : kTableName;
}

std::optional<std::string> GridAccessible::Description(long child) const {
  const auto speech = SpeechOfChild(Window(), child);
  if (!speech) return std::nullopt;
  return speech->description;
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
