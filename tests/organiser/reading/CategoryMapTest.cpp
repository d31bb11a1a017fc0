#include "organiser/reading/CategoryMap.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace zeltra::organiser {
namespace {

// A map the organiser got wrong is refused at its line, with why.
TEST(CategoryMap, AMistakeIsToldAtItsLine) {
  struct Case {
    const char* text;
    std::size_t line;
    std::string why;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"POWER MEDIUM = LOW\n", 1, "a line before [values] or [names]"},
           {"# comment\n\n[colours]\n", 3, "the sections are [values] and [names]"},
           {"[values]\nPOWER MEDIUM LOW\n", 2, "a line without \"=\""},
           {"[values]\nPOWER = LOW\n", 2, "a value is mapped as KEY VALUE = VALUE"},
           {"[values]\nCOLOUR BLUE = RED\n", 2,
            "COLOUR is no category key (OPERATOR, ASSISTED, BAND, MODE, POWER, STATION, "
            "TRANSMITTER, TIME, OVERLAY)"},
           {"[names]\n = Nobody\n", 2, "a side of \"=\" is empty"},
       }) {
    std::istringstream in(c.text);
    try {
      ReadCategoryMap(in);
      ADD_FAILURE() << c.text << " was read";
    } catch (const CategoryMapError& error) {
      EXPECT_EQ(error.line, c.line) << c.text;
      EXPECT_EQ(std::string(error.what()), c.why) << c.text;
    }
  }
}

// Values are mapped as the organiser wrote them, however a log spells
// them; a value mapped is no longer unknown; ranked categories get names.
TEST(CategoryMap, ValuesAreMappedAndCategoriesNamed) {
  std::istringstream in(
      "# this contest\n[Values]\npower medium = low\nBAND 14 = 20m\n[names]\n"
      "single-op all low = Single operator, low power\n");
  const CategoryMap map = ReadCategoryMap(in);
  DeclaredCategories medium = CategoriesOf(
      {{"CATEGORY-OPERATOR", "SO"}, {"CATEGORY-BAND", "all"}, {"CATEGORY-POWER", "Medium"}});
  ASSERT_EQ(medium.unknown, (std::vector<std::string>{"CATEGORY-POWER: MEDIUM"}));
  ApplyCategoryMap(map, medium);
  EXPECT_EQ(medium.Ranked(), "SINGLE-OP ALL LOW");
  EXPECT_TRUE(medium.unknown.empty());
  EXPECT_EQ(RankedName(map, medium), "Single operator, low power");

  DeclaredCategories high = CategoriesOf({{"CATEGORY", "SINGLE-OP 20M HIGH"}});
  ApplyCategoryMap(map, high);
  EXPECT_EQ(RankedName(map, high), "SINGLE-OP 20M HIGH");
}

}  // namespace
}  // namespace zeltra::organiser
