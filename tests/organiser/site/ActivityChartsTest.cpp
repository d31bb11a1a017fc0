#include "organiser/site/ActivityCharts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text/UtcMinute.h"

namespace zeltra::organiser {
namespace {

TEST(ActivityCharts, BandsAndHoursAsTheChartsShowThem) {
  const std::int64_t ten = *UtcMinuteOf("202612051000");
  // Two QSOs on 14 MHz, one on a band outside the contest's, and one a
  // week before: too far for the hours shown.
  const LogActivity activity =
      ActivityOf({{ten, 5}, {ten + 70, 5}, {ten + 75, 0}, {ten - 7 * 24 * 60, 1}});

  const ColumnChart bands = BandChart(activity, "bands", "QSOs by band");
  EXPECT_EQ(bands.labels, (std::vector<std::string>{"1.8", "14", "other"}));
  EXPECT_EQ(bands.values, (std::vector<std::vector<std::uint64_t>>{{1}, {2}, {1}}));
  EXPECT_EQ(bands.description, "QSOs by band: 1.8 MHz 1, 14 MHz 2, other bands 1.");

  const ColumnChart hours = HourChart(activity, "hours", "QSOs per hour by band");
  ASSERT_EQ(hours.parts.size(), 2u);  // the bands of the hours shown only
  EXPECT_EQ(hours.parts[0].name, "14 MHz");
  EXPECT_EQ(hours.parts[1].name, "other bands");
  EXPECT_EQ(hours.tableLabels, (std::vector<std::string>{"2026-12-05 10:00", "2026-12-05 11:00"}));
  EXPECT_EQ(hours.labels, (std::vector<std::string>{"10", "11"}));
  EXPECT_EQ(hours.values, (std::vector<std::vector<std::uint64_t>>{{1, 0}, {1, 1}}));
  EXPECT_NE(hours.description.find("3 QSOs in all (1 more at times outside these hours)"),
            std::string::npos)
      << hours.description;

  const ColumnChart soFar = QsosSoFarChart(activity, "so-far", "QSOs made so far");
  EXPECT_TRUE(soFar.cumulative);
  EXPECT_EQ(soFar.values, (std::vector<std::vector<std::uint64_t>>{{1}, {2}}));
  EXPECT_EQ(HourChart(LogActivity{}, "none", "none").description, "No QSOs.");
}

}  // namespace
}  // namespace zeltra::organiser
