#include "core/scoring/ContestRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace zeltra {
namespace {

TEST(ContestRules, BandTableIsWhole) {
  std::set<int> rows;
  std::set<int> positions;
  for (int number = kFirstBand; number <= kLastBand; ++number) {
    const auto band = BandNumbered(number);
    ASSERT_TRUE(band);
    EXPECT_EQ(band->number, number);
    if (band->summaryRow != 0) {
      EXPECT_TRUE(rows.insert(band->summaryRow).second);
    }
    EXPECT_EQ(band->summaryRow == 0, band->rowHeading.empty());
    positions.insert(band->buttonPosition);
  }
  EXPECT_EQ(rows, (std::set<int>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(positions.size(), 9u);
  EXPECT_EQ(*positions.begin(), 0);
  EXPECT_EQ(*positions.rbegin(), 8);
  EXPECT_EQ(BandNumbered(0), std::nullopt);
  EXPECT_EQ(BandNumbered(10), std::nullopt);
  EXPECT_EQ(BandNumbered(7)->text, "21");
  EXPECT_EQ(BandNumbered(kDesignedBand)->text, "10");
}

TEST(ContestRules, BandSyncTrimsAndLooksUpExactly) {
  struct Case {
    const char* text;
    std::optional<int> band;
  };
  const Case cases[] = {{"14", 5},
                        {" 14", 5},
                        {"14 \t", 5},
                        {"1.8", 1},
                        {"10", 4},
                        {"28", 9},
                        {"50", std::nullopt},
                        {"   ", std::nullopt},
                        {"", std::nullopt},
                        {"14.0", std::nullopt},
                        {"\xa0"
                         "14",
                         std::nullopt}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto band = BandToShow(c.text);
    EXPECT_EQ(band ? std::optional<int>(band->number) : std::nullopt, c.band);
  }
}

TEST(ContestRules, PointsCountryThenContinent) {
  EXPECT_EQ(PointsFor("SP", "EU", "sp", "EU"), kOwnCountryPoints);
  EXPECT_EQ(PointsFor("SP", "NA", "SP", "EU"), kOwnCountryPoints);
  EXPECT_EQ(PointsFor("DL", "eu", "SP", "EU"), kOwnContinentPoints);
  EXPECT_EQ(PointsFor("K", "NA", "SP", "EU"), kOtherContinentPoints);
  EXPECT_EQ(PointsFor("", "", "", ""), kOwnCountryPoints);
}

TEST(ContestRules, KeysJoinBandAndItem) {
  EXPECT_EQ(BandKey("14", "K"), "14|K|");
  EXPECT_EQ(BandKey(" 14", "SP"), " 14|SP|");
  EXPECT_EQ(BandKey("", ""), "||");
}

}  // namespace
}  // namespace zeltra
