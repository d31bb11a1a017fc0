#include "core/crosscheck/StationLogs.h"

#include <gtest/gtest.h>

#include <vector>

namespace zeltra {
namespace {

TEST(StationLogs, LogsApartInTimeAreOneAndOverlappingOnesTheLastWritten) {
  struct Case {
    const char* name;
    std::vector<StationLog> logs;  // first and last minute, when written
    bool asOne;
    std::vector<std::size_t> checked;
    std::vector<std::size_t> setAside;
  };
  const Case cases[] = {
      {"one log", {{10, 20, 1}}, true, {0}, {}},
      {"apart, given late first", {{100, 200, 1}, {10, 20, 2}}, true, {1, 0}, {}},
      {"touching at one minute overlap", {{10, 20, 1}, {20, 30, 2}}, false, {1}, {0}},
      {"a minute apart", {{10, 20, 5}, {21, 30, 2}}, true, {0, 1}, {}},
      {"overlapping: the last written", {{10, 50, 9}, {20, 30, 2}}, false, {0}, {1}},
      {"written at once: the later given", {{10, 50, 3}, {20, 30, 3}}, false, {1}, {0}},
      {"three, two overlapping", {{10, 20, 1}, {30, 40, 7}, {35, 45, 4}}, false, {1}, {0, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const StationLogChoice choice = ChooseStationLogs(c.logs);
    EXPECT_EQ(choice.asOne, c.asOne);
    EXPECT_EQ(choice.checked, c.checked);
    EXPECT_EQ(choice.setAside, c.setAside);
  }
}

TEST(StationLogs, ALogTakesPartWithAtMostHalfItsLinesUnfit) {
  EXPECT_TRUE(TakesPart(10, 0));
  EXPECT_TRUE(TakesPart(10, 5));
  EXPECT_FALSE(TakesPart(10, 6));
  EXPECT_FALSE(TakesPart(1, 1));
  EXPECT_TRUE(TakesPart(0, 0));
}

}  // namespace
}  // namespace zeltra
