#include "core/crosscheck/TakenSkipper.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <vector>

namespace zeltra {
namespace {

// Against a plain list of what is taken, in a random order of takes.
TEST(TakenSkipper, FindsTheNearestFreePlaceEachWay) {
  constexpr std::size_t kPlaces = 200;
  constexpr std::size_t kNo = TakenSkipper::kNoPlace;
  std::mt19937 random(7);
  TakenSkipper skipper(kPlaces);
  std::vector<bool> taken(kPlaces);
  for (std::size_t round = 0; round < kPlaces; ++round) {
    const std::size_t take = random() % kPlaces;
    skipper.Take(take);
    taken[take] = true;
    for (std::size_t place = 0; place < kPlaces; ++place) {
      std::size_t after = place;
      while (after < kPlaces && taken[after]) ++after;
      std::size_t before = place + 1;
      while (before > 0 && taken[before - 1]) --before;
      EXPECT_EQ(skipper.FreeFrom(place), after == kPlaces ? kNo : after) << place;
      EXPECT_EQ(skipper.FreeUpTo(place), before == 0 ? kNo : before - 1) << place;
    }
  }
  EXPECT_EQ(skipper.FreeFrom(kPlaces), kNo);
  EXPECT_EQ(skipper.FreeUpTo(kNo), kNo);
}

}  // namespace
}  // namespace zeltra
