#include "core/crosscheck/ClockOffsets.h"

#include <gtest/gtest.h>

#include <vector>

namespace zeltra {
namespace {

TEST(ClockOffsets, TheMedianOfAnEvenCountIsTheMiddleValueNearerZero) {
  EXPECT_EQ(MedianNearerZero({}), 0);
  EXPECT_EQ(MedianNearerZero({7}), 7);
  EXPECT_EQ(MedianNearerZero({3, -1, 12}), 3);
  EXPECT_EQ(MedianNearerZero({0, 12, 12, 0}), 0);
  EXPECT_EQ(MedianNearerZero({-12, -12, 0, 0}), 0);
  EXPECT_EQ(MedianNearerZero({5, 9, 11, 20}), 9);
  EXPECT_EQ(MedianNearerZero({-9, -5, -20, -11}), -9);
}

// Pairs of log 0 with each of the others, log 0's clock 12 minutes fast.
std::vector<ClockPair> FastLogWith(std::uint32_t others, std::int64_t offset) {
  std::vector<ClockPair> pairs;
  for (std::uint32_t other = 1; other <= others; ++other) pairs.push_back({0, other, offset});
  return pairs;
}

TEST(ClockOffsets, ALogOffIsFoundAndTheLogsItWorkedAreNotDragged) {
  struct Case {
    const char* name;
    std::size_t logs;
    std::vector<ClockPair> pairs;
    std::vector<std::int64_t> offsets;
  };
  std::vector<ClockPair> mesh = FastLogWith(4, 12);
  // The others worked each other too, clocks right.
  for (std::uint32_t a = 1; a <= 4; ++a)
    for (std::uint32_t b = a + 1; b <= 4; ++b) mesh.push_back({a, b, 0});
  const std::vector<Case> cases = {
      {"a fast log among four right ones", 5, mesh, {12, 0, 0, 0, 0}},
      {"a slow one, given as the others' pairs",
       4,
       {{1, 0, 7}, {2, 0, 7}, {3, 0, 7}, {1, 2, 0}, {2, 3, 0}, {1, 3, 0}},
       {-7, 0, 0, 0}},
      {"too few pairs to judge", 3, {{0, 1, 12}, {0, 2, 12}}, {0, 0, 0}},
      {"just enough pairs", 4, FastLogWith(3, 12), {12, 0, 0, 0}},
      {"two logs alone: the first judged takes the whole offset",
       2,
       {{0, 1, 12}, {0, 1, 12}, {0, 1, 12}},
       {12, 0}},
      {"a minute either way", 4, {{0, 1, 11}, {0, 2, 12}, {0, 3, 13}}, {12, 0, 0, 0}},
  };
  for (const Case& test : cases) {
    std::vector<std::int64_t> offsets;
    for (const ClockJudgement& judged : ClockOffsets(test.logs, test.pairs))
      offsets.push_back(judged.offset);
    EXPECT_EQ(offsets, test.offsets) << test.name;
  }
}

// An offset is stated only where a clear majority of its pairs stand by
// it, and the judgement says what it rests on.
TEST(ClockOffsets, AnOffsetNeedsAClearMajority) {
  struct Case {
    const char* name;
    std::vector<std::int64_t> differences;  // of log 0 with logs 1, 2, ...
    ClockJudgement judged;
  };
  const Case cases[] = {
      {"eight fast, one stray", {8, 8, 7, 9, 8, 30}, {8, 6, 5}},
      {"mostly right, some a minute behind", {0, 0, 0, -1, -1, -1, -1}, {0, 7, 7}},
      {"a minute behind, clearly", {-1, -1, -1, -1, -1, 0}, {-1, 6, 6}},
      {"no clear majority", {8, 8, 8, 0, 0, 20}, {0, 6, 2}},
      {"too few", {8, 8}, {0, 2, 0}},
  };
  for (const Case& test : cases) {
    std::vector<ClockPair> pairs;
    for (std::size_t i = 0; i < test.differences.size(); ++i)
      pairs.push_back({0, static_cast<std::uint32_t>(i + 1), test.differences[i]});
    const ClockJudgement judged = ClockOffsets(test.differences.size() + 1, pairs)[0];
    EXPECT_EQ(judged.offset, test.judged.offset) << test.name;
    EXPECT_EQ(judged.pairs, test.judged.pairs) << test.name;
    EXPECT_EQ(judged.agreeing, test.judged.agreeing) << test.name;
  }
}

}  // namespace
}  // namespace zeltra
