#include "scoring/QsoList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace zeltra {
namespace {

using namespace std::string_literals;

// A duplicate is found whatever order the contacts arrived in: byte order,
// a case-insensitive collation's order (aa2 between AA1 and AA3), reverse
// order, or no order at all.
TEST(QSOList, FindsEveryDuplicateWhateverTheArrivalOrder) {
  const std::vector<std::vector<std::string>> arrivals = {
      {"AA1", "AA3", "aa2"},
      {"AA1", "aa2", "AA3"},
      {"AA3", "aa2", "AA1"},
      {"ZZ9", "AA1", "M0X", "aa2", "AA3", "B1"},
  };
  for (const auto& order : arrivals) {
    QSOList list;
    for (const std::string& call : order) list.Add({call, "14", "RTTY"});
    for (const std::string& call : order) {
      SCOPED_TRACE(call);
      EXPECT_TRUE(list.Contains({call, "14", "RTTY"}));
      EXPECT_FALSE(list.Contains({call, "21", "RTTY"}));
    }
    EXPECT_FALSE(list.Contains({"AA2", "14", "RTTY"}));
  }
}

TEST(QSOList, FieldsAreComparedWholeAndByteForByte) {
  QSOList list;
  list.Add({"A\0B"s, "14", "RTTY"});
  list.Add({"AB", "1", "4RTTY"});
  EXPECT_TRUE(list.Contains({"A\0B"s, "14", "RTTY"}));
  EXPECT_FALSE(list.Contains({"A", "14", "RTTY"}));
  EXPECT_FALSE(list.Contains({"AB", "14", "RTTY"}));
  EXPECT_FALSE(list.Contains({"AB1", "4", "RTTY"}));
  EXPECT_EQ(list.size(), 2u);
  list.Clear();
  EXPECT_FALSE(list.Contains({"AB", "1", "4RTTY"}));
}

}  // namespace
}  // namespace zeltra
