#include "organiser/scoring/Places.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace zeltra::organiser {
namespace {

// Equal scores share a place; the next score takes the place after all of
// them.
TEST(Places, EqualScoresShareAPlace) {
  struct Case {
    std::vector<std::int64_t> scores;  // highest first
    std::vector<std::size_t> places;
  };
  const Case cases[] = {
      {{100, 90, 90, 80}, {1, 2, 2, 4}},
      {{50, 50, 50}, {1, 1, 1}},
      {{0, 0, -1}, {1, 1, 3}},
      {{7, 6, 5}, {1, 2, 3}},
      {{9, 9, 8, 8, 8, 1}, {1, 1, 3, 3, 3, 6}},
  };
  for (const Case& c : cases) {
    Places places;
    std::vector<std::size_t> given;
    for (const std::int64_t score : c.scores) given.push_back(places.Next(score));
    EXPECT_EQ(given, c.places);
  }
}

}  // namespace
}  // namespace zeltra::organiser
