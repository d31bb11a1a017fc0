#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace zeltra {

// The statistics table as text cells, addressed (column, row) from (0, 0).
// Row 0 and column 0 hold the headings; columns 1-5 of rows 1-7 the data.
class StatisticTable {
 public:
  static constexpr std::size_t kColumns = 6;
  static constexpr std::size_t kRows = 8;
  static constexpr std::size_t kTotalRow = 7;

  const std::string& Cell(std::size_t column, std::size_t row) const {
    return cells_.at(row).at(column);
  }
  void SetCell(std::size_t column, std::size_t row, std::string text) {
    cells_.at(row).at(column) = std::move(text);
  }

  // Empties every data cell, leaving the headings.
  void BlankData();

 private:
  std::array<std::array<std::string, kColumns>, kRows> cells_;
};

}  // namespace zeltra
