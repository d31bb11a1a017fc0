#include "core/scoring/StringSet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zeltra {
namespace {

TEST(StringSet, LooksUpIgnoringAsciiCaseAndKeepsTheFirstSpelling) {
  StringSet set;
  EXPECT_TRUE(set.Add("14|Sp|"));
  EXPECT_FALSE(set.Add("14|SP|"));
  EXPECT_FALSE(set.Add("14|sp|"));
  EXPECT_TRUE(set.Add("14|\xe9|"));
  EXPECT_TRUE(set.Add("14|\xc9|"));  // not an ASCII letter: no case
  EXPECT_TRUE(set.Add(""));
  EXPECT_TRUE(set.Contains("14|sP|"));
  EXPECT_FALSE(set.Contains("14|S|"));
  EXPECT_EQ(set.items(), (std::vector<std::string>{"14|Sp|", "14|\xe9|", "14|\xc9|", ""}));
  set.Clear();
  EXPECT_FALSE(set.Contains("14|SP|"));
  EXPECT_TRUE(set.items().empty());
}

}  // namespace
}  // namespace zeltra
