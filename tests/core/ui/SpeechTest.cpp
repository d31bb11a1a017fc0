#include "core/ui/Speech.h"

#include <gtest/gtest.h>

#include "core/scoring/Summary.h"

namespace zeltra {
namespace {

TEST(Speech, CellsSayTheirTextAndHeadings) {
  Summary summary;
  summary.WriteHeadings();
  BandStatistics statistics;
  BandStatistic& twenty = statistics.FindOrAdd("14");
  twenty.qsos = 3;
  twenty.points = 17;
  summary.Fill(statistics);
  struct Case {
    std::size_t column, row;
    CellSpeech speech;
  };
  const Case cases[] = {
      {0, 0, {"Band", "column heading"}},   {2, 0, {"Points", "column heading"}},
      {0, 4, {"20", "row heading"}},        {0, 7, {"Total", "row heading"}},
      {2, 4, {"17", "20 m, Points"}},       {1, 1, {"empty", "160 m, QSOs"}},
      {5, 6, {"empty", "10 m, Continent"}}, {1, 7, {"3", "Total, QSOs"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.column) + "," + std::to_string(c.row));
    EXPECT_EQ(SpeechOfCell(summary.table, c.column, c.row), c.speech);
  }
}

TEST(Speech, ChildrenAreNumberedRowByRow) {
  EXPECT_EQ(CellOfChild(1), (std::pair<std::size_t, std::size_t>{0, 0}));
  EXPECT_EQ(CellOfChild(6), (std::pair<std::size_t, std::size_t>{5, 0}));
  EXPECT_EQ(CellOfChild(7), (std::pair<std::size_t, std::size_t>{0, 1}));
  EXPECT_EQ(CellOfChild(48), (std::pair<std::size_t, std::size_t>{5, 7}));
  EXPECT_EQ(CellOfChild(0), std::nullopt);
  EXPECT_EQ(CellOfChild(49), std::nullopt);
}

TEST(Speech, LettersAndTheBandShown) {
  EXPECT_EQ(SpeechOfLetter(LetterState::kWorked), "worked");
  EXPECT_EQ(SpeechOfLetter(LetterState::kNotWorked), "not worked");
  EXPECT_EQ(SpeechOfLetter(LetterState::kNothingRecorded), "not worked");
  EXPECT_EQ(SpeechOfBand(5), "band 14 MHz");
  EXPECT_EQ(SpeechOfBand(1), "band 1.8 MHz");
  EXPECT_EQ(SpeechOfBand(0), "no band chosen");
}

}  // namespace
}  // namespace zeltra
