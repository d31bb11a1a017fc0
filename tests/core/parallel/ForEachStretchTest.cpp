#include "core/parallel/ForEachStretch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <stdexcept>
#include <vector>

namespace zeltra {
namespace {

// Every entry is done once, by one stretch; a stretch starts where startOf
// lets it (here at a multiple of 1000, a group's start), never inside a
// group; a stretch's failure is thrown after all have ended.
TEST(ForEachStretch, EachEntryOnceAndNoGroupSplit) {
  constexpr std::size_t kGroup = 1000;
  for (const std::size_t count : {0u, 5u, 4096u * 3 + 17u, 100000u}) {
    for (const std::size_t threads : {1u, 2u, 7u, 64u}) {
      std::vector<std::atomic<int>> done(count);
      std::vector<std::size_t> starts(threads, count);
      ForEachStretch(
          count, threads, [](std::size_t at) { return (at + kGroup - 1) / kGroup * kGroup; },
          [&](std::size_t part, std::size_t begin, std::size_t end) {
            starts[part] = begin;
            for (std::size_t i = begin; i < end; ++i) ++done[i];
          });
      for (std::size_t i = 0; i < count; ++i) ASSERT_EQ(done[i], 1) << i << " of " << count;
      for (const std::size_t start : starts)
        EXPECT_TRUE(start == count || start % kGroup == 0) << start;
      EXPECT_EQ(starts[0], 0u);
    }
  }
  std::atomic<int> ended = 0;
  EXPECT_THROW(ForEachStretch(
                   40000, 4, [](std::size_t at) { return at; },
                   [&](std::size_t part, std::size_t, std::size_t) {
                     ++ended;
                     if (part == 1) throw std::runtime_error("part 1");
                   }),
               std::runtime_error);
  EXPECT_EQ(ended, 4);
}

}  // namespace
}  // namespace zeltra
