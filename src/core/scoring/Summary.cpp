#include "core/scoring/Summary.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "core/scoring/ContestRules.h"

namespace zeltra {
namespace {

constexpr std::array<std::string_view, StatisticTable::kColumns> kColumnHeadings = {
    "Band", "QSOs", "Points", "Voivodeship", "DXCC", "Continent"};
constexpr std::string_view kTotalHeading = "Total";

// The texts of the bands with a row of their own, by row (rows 1 to 6):
// every contact is matched against these.
constexpr std::size_t kBandRows = StatisticTable::kTotalRow - 1;
constexpr std::array<std::string_view, kBandRows> kRowBands = [] {
  std::array<std::string_view, kBandRows> rows{};
  for (const Band& band : kBands)
    if (band.summaryRow != 0) rows[static_cast<std::size_t>(band.summaryRow - 1)] = band.text;
  return rows;
}();

struct Totals {
  std::int64_t qsos = 0;
  std::int64_t points = 0;
  std::int64_t voivodeships = 0;
  std::int64_t dxccs = 0;
  std::int64_t continents = 0;

  void Add(const BandStatistic& statistic) {
    qsos += statistic.qsos;
    points += statistic.points;
    voivodeships += statistic.voivodeships;
    dxccs += statistic.dxccs;
    continents += statistic.continents;
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
  for (const Band& band : kBands)
    if (band.summaryRow != 0)
      table.SetCell(0, static_cast<std::size_t>(band.summaryRow), std::string(band.rowHeading));
  table.SetCell(0, StatisticTable::kTotalRow, std::string(kTotalHeading));
}

void Summary::Fill(const BandStatistics& statistics) {
  Totals totals;
  for (const BandStatistic& statistic : statistics.items()) {
    totals.Add(statistic);
    for (std::size_t row = 1; row <= kRowBands.size(); ++row) {
      if (statistic.name == kRowBands[row - 1]) {
        WriteRow(table, row,
                 {statistic.qsos, statistic.points, statistic.voivodeships, statistic.dxccs,
                  statistic.continents});
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
