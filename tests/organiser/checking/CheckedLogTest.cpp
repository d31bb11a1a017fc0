#include "organiser/checking/CheckedLog.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace zeltra::organiser {
namespace {

// A time as a row shows it, alone or put after what the row holds.
TEST(CheckedLog, ATimeIsShownAsDateAndMinute) {
  struct Case {
    std::int64_t minute;
    const char* shown;
  };
  constexpr std::int64_t kDay = 24 * 60;
  const Case cases[] = {
      {0, "1970-01-01 00:00"},
      {20428 * kDay + 10 * 60 + 15, "2025-12-06 10:15"},
      {-1, "1969-12-31 23:59"},
      {11016 * kDay + 23 * 60 + 59, "2000-02-29 23:59"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TimeText(c.minute), c.shown) << c.minute;
    std::string row = "SP9AHW,12,";
    AppendTimeText(row, c.minute);
    EXPECT_EQ(row, std::string("SP9AHW,12,") + c.shown) << c.minute;
  }
}

}  // namespace
}  // namespace zeltra::organiser
