#include "core/logscore/LogActivity.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text/UtcMinute.h"

namespace zeltra {
namespace {

std::int64_t At(const char* when) {
  return *UtcMinuteOf(when);
}

TEST(LogActivity, RateFiguresOfALog) {
  struct Case {
    std::string name;
    std::vector<TimedQso> qsos;
    std::uint64_t best;
    std::int64_t bestStart;
    std::int64_t onAir;
  };
  const std::int64_t ten = At("202612051000");
  const std::vector<Case> cases = {
      {"none", {}, 0, 0, 0},
      {"one QSO is a minute on the air", {{ten, 5}}, 1, ten, 1},
      // 10:00 to 10:59 is sixty minutes; 11:00 starts the next sixty.
      {"sixty minutes hold 10:00 to 10:59",
       {{ten, 5}, {ten + 59, 5}, {ten + 60, 5}, {ten + 61, 5}},
       3,
       ten + 59,
       62},
      {"the earliest of equal sixties", {{ten, 5}, {ten + 100, 5}}, 1, ten, 2},
      // 60 minutes apart is no break; 61 apart is (60 minutes without a QSO).
      {"an hour apart is operating", {{ten, 5}, {ten + 60, 5}}, 1, ten, 61},
      {"more than an hour apart is a break", {{ten, 5}, {ten + 61, 5}}, 1, ten, 2},
      {"given in any order",
       {{ten + 200, 7}, {ten, 1}, {ten + 10, 9}, {ten + 201, 0}},
       2,
       ten,
       11 + 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const LogActivity activity = ActivityOf(c.qsos);
    EXPECT_EQ(activity.qsos, c.qsos.size());
    EXPECT_EQ(activity.bestSixtyMinutes, c.best);
    if (c.best > 0) {
      EXPECT_EQ(UtcMinuteText(activity.bestSixtyStart), UtcMinuteText(c.bestStart));
    }
    EXPECT_EQ(activity.minutesOnAir, c.onAir);
  }
}

TEST(LogActivity, HoursByBandAndTheContestsSum) {
  const std::int64_t ten = At("202612051000");
  const LogActivity first = ActivityOf({{ten + 5, 5}, {ten + 6, 5}, {ten + 70, 1}, {ten, 0}});
  ASSERT_EQ(first.hours.size(), 2u);
  EXPECT_EQ(first.hours[0].byBand[4], 2u);  // 14 MHz, the fifth band
  EXPECT_EQ(first.hours[0].otherBands, 1u);
  EXPECT_EQ(first.hours[1].byBand[0], 1u);
  EXPECT_EQ(first.hours[1].hour - first.hours[0].hour, 1);

  const LogActivity second = ActivityOf({{ten - 120, 9}, {ten + 30, 5}});
  const LogActivity third = ActivityOf({{ten + 65, 1}});
  const LogActivity contest = SumOf({&first, &second, &third});
  ASSERT_EQ(contest.hours.size(), 3u);
  EXPECT_EQ(contest.qsos, 7u);
  EXPECT_EQ(contest.hours[1].byBand[4], 3u);
  EXPECT_EQ(contest.hours[0].byBand[8], 1u);
  EXPECT_EQ(contest.hours[2].byBand[0], 2u);  // two logs' QSOs in one hour
  EXPECT_LT(contest.hours[0].hour, contest.hours[1].hour);
  EXPECT_LT(contest.hours[1].hour, contest.hours[2].hour);
  const auto byBand = contest.QsosByBand();
  EXPECT_EQ(byBand[4], 3u);
  EXPECT_EQ(byBand[0], 2u);
  EXPECT_EQ(byBand[8], 1u);
}

// A log dated before 1970 (a clock never set) still falls into whole hours.
TEST(LogActivity, HoursBefore1970AreWholeHours) {
  const LogActivity activity = ActivityOf({{-61, 5}, {-60, 5}, {-1, 5}, {0, 5}});
  ASSERT_EQ(activity.hours.size(), 3u);
  EXPECT_EQ(activity.hours[0].hour, -2);
  EXPECT_EQ(activity.hours[0].Total(), 1u);
  EXPECT_EQ(activity.hours[1].hour, -1);
  EXPECT_EQ(activity.hours[1].Total(), 2u);
  EXPECT_EQ(activity.hours[2].hour, 0);
}

TEST(LogActivity, AChartShowsTheBusiestHoursWithTheEmptyOnesBetween) {
  const std::int64_t ten = At("202612051000");
  // A wrong date a year back, then a contest of three hours with a gap.
  const LogActivity activity = ActivityOf({{ten - 365 * 24 * 60, 5},
                                           {ten, 5},
                                           {ten + 1, 5},
                                           {ten + 180, 7},
                                           {ten + 181, 7},
                                           {ten + 240, 7}});
  const std::vector<HourOfQsos> shown = BusiestHours(activity, 24);
  ASSERT_EQ(shown.size(), 5u);
  EXPECT_EQ(UtcMinuteText(shown.front().hour * 60), "202612051000");
  EXPECT_EQ(shown[1].Total(), 0u);
  EXPECT_EQ(shown[3].Total(), 2u);
  EXPECT_EQ(shown[4].Total(), 1u);
  // A window too short for all of it takes the busiest part.
  const std::vector<HourOfQsos> two = BusiestHours(activity, 2);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(UtcMinuteText(two.front().hour * 60), "202612051300");
  EXPECT_TRUE(BusiestHours(LogActivity{}, 24).empty());
}

}  // namespace
}  // namespace zeltra
