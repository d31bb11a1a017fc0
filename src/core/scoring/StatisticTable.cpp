#include "core/scoring/StatisticTable.h"

namespace zeltra {

void StatisticTable::BlankData() {
  for (std::size_t row = 1; row < kRows; ++row)
    for (std::size_t column = 1; column < kColumns; ++column) cells_[row][column].clear();
}

}  // namespace zeltra
