#pragma once

#include <string>

#include "core/scoring/BandStatistics.h"
#include "core/scoring/StatisticTable.h"

namespace zeltra {

// What the statistics window shows: the table and the score line.
struct Summary {
  StatisticTable table;
  std::string scoreLine;

  // Rewrites the rows of the bands present in statistics, the total row and
  // the score line. Rows of bands not present are left as they are.
  void Fill(const BandStatistics& statistics);

  // Writes row 0 and column 0: the column and band headings.
  void WriteHeadings();
};

}  // namespace zeltra
