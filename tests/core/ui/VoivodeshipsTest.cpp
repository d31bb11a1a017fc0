#include "core/ui/Voivodeships.h"

#include <gtest/gtest.h>

namespace zeltra {
namespace {

TEST(Voivodeships, LettersAreMarkedWhereTheBandsKeyOccurs) {
  StringSet voivList;
  EXPECT_EQ(MarkOf(voivList, "14", 'K'), LetterMark::kListDefault);
  voivList.Add("14|K|");
  voivList.Add("21|B|");
  struct Case {
    const char* band;
    char letter;
    LetterMark mark;
  };
  const Case cases[] = {
      {"14", 'K', LetterMark::kWorked},    {"14", 'B', LetterMark::kNotWorked},
      {"14", 'Z', LetterMark::kNotWorked}, {"21", 'B', LetterMark::kWorked},
      {"21", 'K', LetterMark::kNotWorked}, {"", 'K', LetterMark::kWorked},  // "|K|" on any band
      {"4", 'K', LetterMark::kWorked},  // a substring test: "4|K|" occurs in "14|K|"
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.band) + " " + c.letter);
    EXPECT_EQ(MarkOf(voivList, c.band, c.letter), c.mark);
  }
  // A band text with a leading blank keeps its key, which still contains "14|K|".
  StringSet blankBand;
  blankBand.Add(" 14|K|");
  EXPECT_EQ(MarkOf(blankBand, "14", 'K'), LetterMark::kWorked);
  StringSet trailingBlank;
  trailingBlank.Add("14 |K|");
  EXPECT_EQ(MarkOf(trailingBlank, "14", 'K'), LetterMark::kNotWorked);
}

TEST(Voivodeships, BandSyncTrimsAndLooksUpExactly) {
  EXPECT_EQ(BandNumberToShow("14"), 5);
  EXPECT_EQ(BandNumberToShow(" 14"), 5);
  EXPECT_EQ(BandNumberToShow("14 \t"), 5);
  EXPECT_EQ(BandNumberToShow("1.8"), 1);
  EXPECT_EQ(BandNumberToShow("10"), 4);
  EXPECT_EQ(BandNumberToShow("28"), 9);
  EXPECT_EQ(BandNumberToShow("50"), std::nullopt);
  EXPECT_EQ(BandNumberToShow("   "), std::nullopt);
  EXPECT_EQ(BandNumberToShow(""), std::nullopt);
  EXPECT_EQ(BandNumberToShow("14.0"), std::nullopt);
  EXPECT_EQ(BandText(0), std::nullopt);
  EXPECT_EQ(BandText(10), std::nullopt);
  EXPECT_EQ(BandText(7), "21");
}

TEST(Voivodeships, BandButtonsShareThePanelWithTenLast) {
  struct Case {
    int width, height, w, lastWidth;
  };
  const Case cases[] = {{327, 18, 36, 35}, {200, 18, 22, 20}, {500, 30, 55, 56}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    const auto places = BandButtonLayout(c.width, c.height);
    for (int k = 0; k < 8; ++k) {
      EXPECT_EQ(places[static_cast<std::size_t>(k)],
                (Rect{k * c.w, 0, k * c.w + c.w, c.height - 1}));
    }
    EXPECT_EQ(places[8].left, 8 * c.w);
    EXPECT_EQ(places[8].width(), c.lastWidth);
    EXPECT_EQ(places[8].right, c.width - 4);
  }
  EXPECT_EQ(BandButtonLayout(0, 18)[8], Rect{});
  EXPECT_EQ(kBandNames[static_cast<std::size_t>(kBandButtonOrder.back() - 1)], "10");
}

}  // namespace
}  // namespace zeltra
