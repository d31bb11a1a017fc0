#include "organiser/site/SvgCharts.h"

#include <gtest/gtest.h>

#include <limits>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace zeltra::organiser {
namespace {

// The scale's top stands at most a quarter above the highest bar, its
// steps round.
TEST(SvgCharts, TheScaleEndsJustAboveTheLargestInRoundSteps) {
  struct Case {
    std::uint64_t largest, top, step;
  };
  for (const Case& c : std::initializer_list<Case>{{0, 1, 1},
                                                   {1, 1, 1},
                                                   {8, 8, 1},
                                                   {9, 10, 2},
                                                   {11, 12, 2},
                                                   {17, 20, 5},
                                                   {41, 50, 10},
                                                   {57, 60, 10},
                                                   {81, 100, 20},
                                                   {161, 200, 50},
                                                   {1234, 1400, 200}}) {
    const Scale scale = ScaleFor(c.largest);
    EXPECT_EQ(scale.top, c.top) << c.largest;
    EXPECT_EQ(scale.step, c.step) << c.largest;
  }
  for (std::uint64_t largest = 1; largest < 100'000; largest += largest / 7 + 1) {
    const Scale scale = ScaleFor(largest);
    EXPECT_GE(scale.top, largest);
    EXPECT_LE(scale.top * 4, largest * 5) << largest;
    EXPECT_EQ(scale.top % scale.step, 0u) << largest;
  }
  // Past the last round number a count holds, the largest itself.
  const std::uint64_t most = std::numeric_limits<std::uint64_t>::max();
  EXPECT_EQ(ScaleFor(5'000'000'000'000'000'000u).top, 5'000'000'000'000'000'000u);
  EXPECT_EQ(ScaleFor(most - 1).top, most - 1);
  // A chart of such a count is drawn all the same, with few lines across.
  ColumnChart chart;
  chart.id = "huge";
  chart.parts = {{"QSOs", "#111111"}};
  chart.labels = {"1"};
  chart.values = {{most - 1}};
  std::ostringstream out;
  WriteColumnChart(out, chart);
  EXPECT_NE(out.str().find("</svg>"), std::string::npos);
}

// The heights of a chart's bars, as drawn.
std::vector<double> Heights(const std::string& svg) {
  std::vector<double> heights;
  const std::regex rect("<rect [^>]*height=\"([0-9.]+)\"");
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), rect); it != std::sregex_iterator();
       ++it)
    heights.push_back(std::stod((*it)[1]));
  return heights;
}

TEST(SvgCharts, ColumnsStackTheirPartsToScale) {
  ColumnChart chart;
  chart.id = "hours";
  chart.title = "QSOs per hour <by band>";
  chart.description = "From 10:00 to 11:00";
  chart.labelHeading = "Hour";
  chart.parts = {{"14 MHz", "#111111"}, {"7 MHz", "#222222"}};
  chart.labels = {"10", "11"};
  chart.values = {{6, 4}, {0, 5}};
  std::ostringstream out;
  WriteColumnChart(out, chart);
  const std::string svg = out.str();
  // A top of 10: the first column fills the plot (212 units), 6 and 4 of it.
  const std::vector<double> heights = Heights(svg);
  ASSERT_EQ(heights.size(), 3u);  // no bar for a part of nothing
  EXPECT_NEAR(heights[0], 212 * 0.6, 0.1);
  EXPECT_NEAR(heights[1], 212 * 0.4, 0.1);
  EXPECT_NEAR(heights[2], 212 * 0.5, 0.1);
  EXPECT_NE(svg.find("role=\"img\""), std::string::npos);
  EXPECT_NE(svg.find("aria-labelledby=\"hours-title hours-desc\""), std::string::npos);
  EXPECT_NE(svg.find("<title id=\"hours-title\">QSOs per hour &lt;by band&gt;</title>"),
            std::string::npos);
  // The numbers as a table: each column's parts and its whole.
  EXPECT_NE(svg.find("<tr><th scope=\"row\">10</th><td>6</td><td>4</td><td>10</td></tr>"),
            std::string::npos);
  EXPECT_NE(svg.find("<tr><th scope=\"row\">11</th><td>0</td><td>5</td><td>5</td></tr>"),
            std::string::npos);
  // Scale lines at fifths of 10.
  EXPECT_NE(svg.find(">8</text>"), std::string::npos);
  EXPECT_EQ(svg.find(">2.5</text>"), std::string::npos);

  chart.cumulative = true;
  chart.parts.resize(1);
  chart.values = {{3}, {2}, {5}};
  chart.labels = {"10", "11", "12"};
  chart.tableLabels = {"2026-12-05 10:00", "2026-12-05 11:00", "2026-12-05 12:00"};
  std::ostringstream line;
  WriteColumnChart(line, chart);
  EXPECT_TRUE(Heights(line.str()).empty());
  EXPECT_NE(line.str().find("<polyline"), std::string::npos);
  // So far: 3, 5, 10, against a top of 10 the line ends at the plot's top.
  EXPECT_NE(line.str().find("<th scope=\"row\">2026-12-05 12:00</th><td>10</td>"),
            std::string::npos);
  EXPECT_NE(line.str().find(",12\"/>"), std::string::npos);
}

}  // namespace
}  // namespace zeltra::organiser
