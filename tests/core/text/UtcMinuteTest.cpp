#include "core/text/UtcMinute.h"

#include <gtest/gtest.h>

namespace zeltra {
namespace {

TEST(UtcMinute, TimesAreReadCheckedAndWrittenBack) {
  EXPECT_EQ(UtcMinuteOf("197001010000"), 0);
  EXPECT_EQ(UtcMinuteOf("197001020001"), 24 * 60 + 1);
  EXPECT_EQ(UtcMinuteOf("196912312359"), -1);
  EXPECT_EQ(*UtcMinuteOf("202603010000") - *UtcMinuteOf("202602282359"), 1);
  EXPECT_EQ(*UtcMinuteOf("202403010000") - *UtcMinuteOf("202402290000"), 24 * 60);  // leap year
  for (const char* when : {"202612061015", "202402291200", "200002290000", "999912312359",
                           "000101010000", "196912312359"})
    EXPECT_EQ(UtcMinuteText(*UtcMinuteOf(when)), when);
  // Years of more than four figures, or before year 0, are written whole.
  EXPECT_EQ(UtcMinuteText(*UtcMinuteOf("999912312359") + 1), "1000001010000");
  EXPECT_EQ(UtcMinuteText(*UtcMinuteOf("000101010000") - 366 * 24 * 60), "000001010000");
  for (const char* notATime : {"", "20261206101", "2026120610155", "2026120610x5", "202613061015",
                               "202600061015", "202612321015", "202602291200", "210002290000",
                               "202612062400", "202612061060", "202604311200"})
    EXPECT_FALSE(UtcMinuteOf(notATime).has_value()) << notATime;
}

}  // namespace
}  // namespace zeltra
