#include "core/scoring/Summary.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace zeltra {
namespace {

// The bands that have a row of their own, by row; every band, these and all
// others, adds to the total row.
constexpr std::array<std::string_view, 6> kRowBands = {"1.8", "3.5", "7", "14", "21", "28"};

constexpr std::array<std::string_view, StatisticTable::kColumns> kColumnHeadings = {
    "Band", "QSOs", "Points", "Voivodeship", "DXCC", "Continent"};
constexpr std::array<std::string_view, StatisticTable::kRows - 1> kRowHeadings = {
    "160", "80", "40", "20", "15", "10", "Total"};

struct Totals {
  std::int64_t qsos = 0;
  std::int64_t points = 0;
  std::int64_t voivodeships = 0;
  std::int64_t dxccs = 0;
  std::int64_t continents = 0;

  void Add(const TStatistic& statistic) {
    qsos += statistic.QSOs;
    points += statistic.Points;
    voivodeships += statistic.Voivodeships;
    dxccs += statistic.DXCCs;
    continents += statistic.Continents;
  }
};

void WriteRow(StatisticTable& table, std::size_t row, const std::array<std::int64_t, 5>& values) {
  for (std::size_t column = 1; column <= values.size(); ++column)
    table.SetCell(column, row, std::to_string(values[column - 1]));
}

}  // namespace

void Summary::WriteHeadings() {
  for (std::size_t column = 0; column < kColumnHeadings.size(); ++column)
    table.SetCell(column, 0, std::string(kColumnHeadings[column]));
  for (std::size_t row = 1; row <= kRowHeadings.size(); ++row)
    table.SetCell(0, row, std::string(kRowHeadings[row - 1]));
}

void Summary::FillStatistic(const StatList& statistics) {
  Totals totals;
  for (const TStatistic& statistic : statistics.Items()) {
    totals.Add(statistic);
    for (std::size_t i = 0; i < kRowBands.size(); ++i) {
      if (statistic.Name == kRowBands[i]) {
        WriteRow(table, i + 1,
                 {statistic.QSOs, statistic.Points, statistic.Voivodeships, statistic.DXCCs,
                  statistic.Continents});
      }
    }
  }
  WriteRow(table, StatisticTable::kTotalRow,
           {totals.qsos, totals.points, totals.voivodeships, totals.dxccs, totals.continents});

  // Each contact adds at most 10 points and 3 multipliers, and a 32-bit
  // process cannot hold 2^28 contacts, so the product stays far below 2^63.
  const std::int64_t multipliers = totals.voivodeships + totals.dxccs + totals.continents;
  const std::int64_t score = totals.points * multipliers;
  scoreLine = "Score: " + std::to_string(totals.points) + "*(" +
              std::to_string(totals.voivodeships) + "+" + std::to_string(totals.dxccs) + "+" +
              std::to_string(totals.continents) + ")=" + std::to_string(score);
}

}  // namespace zeltra
