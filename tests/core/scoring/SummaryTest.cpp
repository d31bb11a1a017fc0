#include "core/scoring/Summary.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace zeltra {
namespace {

std::array<std::string, 5> Row(const Summary& summary, std::size_t row) {
  std::array<std::string, 5> cells;
  for (std::size_t column = 1; column <= 5; ++column)
    cells[column - 1] = summary.table.Cell(column, row);
  return cells;
}

void Put(BandStatistics& list, const char* band, std::int64_t qsos, std::int64_t points,
         std::int64_t voivodeships, std::int64_t dxccs, std::int64_t continents) {
  BandStatistic& statistic = list.FindOrAdd(band);
  statistic.qsos = qsos;
  statistic.points = points;
  statistic.voivodeships = voivodeships;
  statistic.dxccs = dxccs;
  statistic.continents = continents;
}

using Cells = std::array<std::string, 5>;

TEST(Summary, EmptyStatisticsGiveZeroTotals) {
  Summary summary;
  summary.Fill(BandStatistics{});
  for (std::size_t row = 1; row <= 6; ++row) EXPECT_EQ(Row(summary, row), Cells{}) << row;
  EXPECT_EQ(Row(summary, 7), (Cells{"0", "0", "0", "0", "0"}));
  EXPECT_EQ(summary.scoreLine, "Score: 0*(0+0+0)=0");
}

TEST(Summary, BandsFillTheirRowsAndEveryBandTheTotal) {
  BandStatistics list;
  Put(list, "14", 3, 20, 2, 2, 1);
  Put(list, "10", 1, 10, 0, 1, 0);  // no row of its own
  Put(list, "1.8", 1, 5, 1, 1, 0);
  Put(list, "28 ", 1, 10, 0, 1, 1);  // not the band "28"
  Summary summary;
  summary.Fill(list);
  EXPECT_EQ(Row(summary, 1), (Cells{"1", "5", "1", "1", "0"}));
  EXPECT_EQ(Row(summary, 4), (Cells{"3", "20", "2", "2", "1"}));
  for (std::size_t row : {2u, 3u, 5u, 6u}) EXPECT_EQ(Row(summary, row), Cells{}) << row;
  EXPECT_EQ(Row(summary, 7), (Cells{"6", "45", "3", "5", "2"}));
  EXPECT_EQ(summary.scoreLine, "Score: 45*(3+5+2)=450");
}

TEST(Summary, ScoreLineAsTheOperatorReadsIt) {
  BandStatistics list;
  Put(list, "21", 9, 30, 2, 3, 1);
  Summary summary;
  summary.Fill(list);
  EXPECT_EQ(summary.scoreLine, "Score: 30*(2+3+1)=180");
}

// A long log's score passes 2^31; it is shown as it is, not wrapped.
TEST(Summary, ScoreBeyondThirtyTwoBitsIsExact) {
  BandStatistics list;
  Put(list, "14", 300000, 3000000, 16, 340, 6);
  Put(list, "21", 300000, 3000000, 16, 340, 0);
  Summary summary;
  summary.Fill(list);
  EXPECT_EQ(summary.scoreLine, "Score: 6000000*(32+680+6)=4308000000");
}

TEST(Summary, RowsOfAbsentBandsKeepTheirText) {
  Summary summary;
  summary.table.SetCell(2, 3, "old");
  summary.table.SetCell(0, 3, "40");
  summary.Fill(BandStatistics{});
  EXPECT_EQ(summary.table.Cell(2, 3), "old");
  summary.table.BlankData();
  EXPECT_EQ(summary.table.Cell(2, 3), "");
  EXPECT_EQ(summary.table.Cell(0, 3), "40");
  EXPECT_EQ(Row(summary, 7), Cells{});
}

}  // namespace
}  // namespace zeltra
