#include "organiser/reading/Categories.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace zeltra::organiser {
namespace {

using Tags = std::vector<std::pair<std::string, std::string>>;

// Logs write their categories as people and loggers do; one category is
// one, however it is spelt, and what the contest does not know is named.
TEST(Categories, EachSpellingIsCabrillosOwnAndTheUnknownNamed) {
  struct Case {
    const char* what;
    Tags tags;
    std::string ranked;
    std::string declared;
    std::vector<std::string> unknown;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"as Cabrillo spells them",
            {{"CATEGORY-OPERATOR", "SINGLE-OP"},
             {"CATEGORY-BAND", "ALL"},
             {"CATEGORY-POWER", "LOW"}},
            "SINGLE-OP ALL LOW",
            "SINGLE-OP ALL LOW",
            {}},
           {"case and blanks",
            {{"CATEGORY-POWER", " Low "},
             {"CATEGORY-OPERATOR", "single op"},
             {"CATEGORY-BAND", "all"}},
            "SINGLE-OP ALL LOW",
            "SINGLE-OP ALL LOW",
            {}},
           {"other spellings",
            {{"CATEGORY-OPERATOR", "SO"},
             {"CATEGORY-BAND", "14 MHz"},
             {"CATEGORY-POWER", "lp"},
             {"CATEGORY-TRANSMITTER", "1"},
             {"CATEGORY-ASSISTED", "unassisted"}},
            "SINGLE-OP NON-ASSISTED 20M LOW ONE",
            "SINGLE-OP NON-ASSISTED 20M LOW ONE",
            {}},
           {"bands in metres", {{"CATEGORY-BAND", "160"}}, "160M", "160M", {}},
           {"10 is ten metres", {{"CATEGORY-BAND", "10m"}}, "10M", "10M", {}},
           {"mode, station, time and overlay rank nobody apart",
            {{"CATEGORY-OPERATOR", "SINGLE-OP"},
             {"CATEGORY-MODE", "rtty"},
             {"CATEGORY-STATION", "portable"},
             {"CATEGORY-TIME", "6 hours"},
             {"CATEGORY-OVERLAY", "rookie"}},
            "SINGLE-OP",
            "SINGLE-OP RTTY PORTABLE 6-HOURS ROOKIE",
            {}},
           {"Cabrillo 2.0's one line",
            {{"CATEGORY", "single-op all low"}},
            "SINGLE-OP ALL LOW",
            "SINGLE-OP ALL LOW",
            {}},
           {"the keys hold against the 2.0 line",
            {{"CATEGORY", "SINGLE-OP ALL HIGH"}, {"CATEGORY-POWER", "LOW"}},
            "SINGLE-OP ALL LOW",
            "SINGLE-OP ALL LOW",
            {}},
           {"values and keys unknown",
            {{"CATEGORY-POWER", "medium"}, {"CATEGORY-COLOUR", "blue"}, {"CATEGORY", "FAST"}},
            "MEDIUM",
            "MEDIUM",
            {"CATEGORY-POWER: MEDIUM", "CATEGORY-COLOUR: BLUE", "CATEGORY: FAST"}},
           {"an unknown value keeps its blanks",
            {{"CATEGORY-OPERATOR", "two ops"}},
            "TWO OPS",
            "TWO OPS",
            {"CATEGORY-OPERATOR: TWO OPS"}},
           {"empty values are none", {{"CATEGORY-POWER", "  "}}, "", "", {}},
       }) {
    const DeclaredCategories categories = CategoriesOf(c.tags);
    EXPECT_EQ(categories.Ranked(), c.ranked) << c.what;
    EXPECT_EQ(categories.Declared(), c.declared) << c.what;
    EXPECT_EQ(categories.unknown, c.unknown) << c.what;
  }
}

TEST(Categories, ASingleBandAndOneTransmitter) {
  struct Case {
    Tags tags;
    std::optional<std::string_view> band;
    bool oneTransmitter;
  };
  for (const Case& c : std::initializer_list<Case>{
           {{{"CATEGORY-BAND", "20M"}, {"CATEGORY-OPERATOR", "SINGLE-OP"}}, "14", true},
           {{{"CATEGORY-BAND", "ALL"}, {"CATEGORY-OPERATOR", "MULTI-OP"}}, std::nullopt, false},
           {{{"CATEGORY-BAND", "80"},
             {"CATEGORY-OPERATOR", "MULTI-OP"},
             {"CATEGORY-TRANSMITTER", "ONE"}},
            "3.5",
            true},
           {{{"CATEGORY", "MULTI-ONE 10M"}}, "28", true},
           {{}, std::nullopt, false},
       }) {
    const DeclaredCategories categories = CategoriesOf(c.tags);
    EXPECT_EQ(categories.SingleBand(), c.band) << categories.Declared();
    EXPECT_EQ(categories.SingleTransmitter(), c.oneTransmitter) << categories.Declared();
  }
}

}  // namespace
}  // namespace zeltra::organiser
