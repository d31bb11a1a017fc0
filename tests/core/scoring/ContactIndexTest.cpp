#include "core/scoring/ContactIndex.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace zeltra {
namespace {

using namespace std::string_literals;

// A duplicate is found whatever order the contacts arrived in: byte order,
// a case-insensitive collation's order (aa2 between AA1 and AA3), reverse
// order, or no order at all.
TEST(ContactIndex, FindsEveryDuplicateWhateverTheArrivalOrder) {
  const std::vector<std::vector<std::string>> arrivals = {
      {"AA1", "AA3", "aa2"},
      {"AA1", "aa2", "AA3"},
      {"AA3", "aa2", "AA1"},
      {"ZZ9", "AA1", "M0X", "aa2", "AA3", "B1"},
  };
  for (const auto& order : arrivals) {
    ContactIndex list;
    for (const std::string& call : order) list.Add({call, "14", "RTTY"});
    for (const std::string& call : order) {
      SCOPED_TRACE(call);
      EXPECT_TRUE(list.Contains({call, "14", "RTTY"}));
      EXPECT_FALSE(list.Contains({call, "21", "RTTY"}));
    }
    EXPECT_FALSE(list.Contains({"AA2", "14", "RTTY"}));
  }
}

TEST(ContactIndex, FieldsAreComparedWholeAndByteForByte) {
  ContactIndex list;
  const std::string withNul = "A\0B"s;
  EXPECT_TRUE(list.Add({withNul, "14", "RTTY"}));
  EXPECT_TRUE(list.Add({"AB", "1", "4RTTY"}));
  EXPECT_FALSE(list.Add({"AB", "1", "4RTTY"}));
  EXPECT_TRUE(list.Contains({withNul, "14", "RTTY"}));
  EXPECT_FALSE(list.Contains({"A", "14", "RTTY"}));
  EXPECT_FALSE(list.Contains({"AB", "14", "RTTY"}));
  EXPECT_FALSE(list.Contains({"AB1", "4", "RTTY"}));
  EXPECT_EQ(list.size(), 2u);
  list.Clear();
  EXPECT_FALSE(list.Contains({"AB", "1", "4RTTY"}));
  EXPECT_THROW(list.Add({std::string(256, 'x'), "14", "RTTY"}), std::length_error);
}

// The index grows as the log does; checked against a plain set as the model,
// with texts of every length from 0 to 255 and many repeats.
TEST(ContactIndex, AgreesWithASetAsTheIndexGrows) {
  ContactIndex list;
  std::set<std::tuple<std::string, std::string, std::string>> model;
  for (int i = 0; i < 6000; ++i) {
    const int k = i % 1500;  // every contact comes back three times
    const std::string call =
        std::string(static_cast<std::size_t>(k * 7 % 252), 'C') + std::to_string(k % 401);
    const std::string band = k % 3 == 0 ? "" : std::to_string(k % 9);
    const std::string mode = i % 2000 < 1000 ? "CW" : "RTTY";
    const bool isNew = model.emplace(call, band, mode).second;
    ASSERT_EQ(list.Contains({call, band, mode}), !isNew) << i;
    ASSERT_EQ(list.Add({call, band, mode}), isNew) << i;
  }
  EXPECT_EQ(list.size(), model.size());
  EXPECT_LT(model.size(), 6000u);
  for (const auto& [call, band, mode] : model) {
    ASSERT_TRUE(list.Contains({call, band, mode}));
    ASSERT_FALSE(list.Contains({call, band, mode + "X"}));
  }
}

}  // namespace
}  // namespace zeltra
