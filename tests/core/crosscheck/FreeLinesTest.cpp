#include "core/crosscheck/FreeLines.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace zeltra {
namespace {

// One group of lines in time order, by place: line numbers and minutes.
FreeLines OneGroup(const std::vector<std::uint32_t>& order,
                   const std::vector<std::int64_t>& minuteOf) {
  std::vector<std::int64_t> minutes;
  for (const std::uint32_t line : order) minutes.push_back(minuteOf[line]);
  return FreeLines(order, minutes, minuteOf.size());
}

std::vector<std::uint32_t> Visited(FreeLines& lines, FreeLines::Group group, std::int64_t minute,
                                   std::int64_t window, std::size_t most) {
  std::vector<std::uint32_t> visited;
  lines.Nearest(group, minute, window, most, [&](std::uint32_t line) {
    visited.push_back(line);
    return true;
  });
  return visited;
}

TEST(FreeLines, VisitsTheFreeLinesNearestFirstWithinTheWindow) {
  // Lines 0..6 at minutes 10, 12, 12, 15, 17, 18, 30; line 7 in another group.
  const std::vector<std::int64_t> minutes = {10, 12, 12, 15, 17, 18, 30, 15};
  FreeLines lines = OneGroup({0, 1, 2, 3, 4, 5, 6, 7}, minutes);
  const FreeLines::Group group{0, 7};
  // From 15: 15, then 17 (2 after), then 12, 12 and 18 (3 before and
  // after, by line number), then 10, all within 5.
  EXPECT_EQ(Visited(lines, group, 15, 5, 10), (std::vector<std::uint32_t>{3, 4, 1, 2, 5, 0}));
  // As near on both sides: the lower line number first.
  EXPECT_EQ(Visited(lines, group, 14, 2, 10), (std::vector<std::uint32_t>{3, 1, 2}));
  // A bound on how many are visited.
  EXPECT_EQ(Visited(lines, group, 15, 5, 2), (std::vector<std::uint32_t>{3, 4}));
  // Lines taken are passed over and never count against the bound.
  lines.Take(3);
  lines.Take(4);
  lines.Take(1);
  EXPECT_TRUE(lines.IsTaken(3));
  EXPECT_EQ(Visited(lines, group, 15, 5, 2), (std::vector<std::uint32_t>{2, 5}));
  EXPECT_EQ(lines.NearestOne(group, 15, 5), 2u);
  // Nothing within the window; the group's edge is kept.
  EXPECT_EQ(lines.NearestOne(group, 24, 5), FreeLines::kNoLine);
  EXPECT_EQ(lines.NearestOne({7, 8}, 15, 0), 7u);
  EXPECT_EQ(lines.NearestOne({0, 7}, 31, 0), FreeLines::kNoLine);
  EXPECT_EQ(lines.NearestOne({0, 7}, 30, 0), 6u);
}

TEST(FreeLines, ABusyStretchTakenCostsNothingToPass) {
  // A thousand lines at one minute, all taken but the last, and one free
  // line a minute later: both found within a bound of two.
  std::vector<std::int64_t> minutes(1001, 100);
  minutes[1000] = 101;
  std::vector<std::uint32_t> order(1001);
  for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  FreeLines lines = OneGroup(order, minutes);
  for (std::uint32_t i = 0; i < 999; ++i) lines.Take(i);
  EXPECT_EQ(Visited(lines, {0, 1001}, 100, 5, 2), (std::vector<std::uint32_t>{999, 1000}));
}

}  // namespace
}  // namespace zeltra
