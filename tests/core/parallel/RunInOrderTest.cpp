#include "core/parallel/RunInOrder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace zeltra {
namespace {

TEST(RunInOrder, ResultsAreConsumedInOrderWhateverOrderTheWorkEnds) {
  for (const std::size_t jobs : {1u, 2u, 3u, 8u}) {
    std::vector<std::size_t> consumed;
    RunInOrder<std::string>(
        20, jobs,
        [](std::size_t i) {
          // Early items take longest, so that later ones end first.
          std::this_thread::sleep_for(std::chrono::milliseconds((20 - i) % 4));
          return std::to_string(i * i);
        },
        [&](std::size_t i, std::string&& result) {
          EXPECT_EQ(result, std::to_string(i * i));
          consumed.push_back(i);
        });
    std::vector<std::size_t> expected(20);
    for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = i;
    EXPECT_EQ(consumed, expected) << jobs << " jobs";
  }
}

TEST(RunInOrder, AFailureIsThrownInItsTurnAfterTheOnesBefore) {
  for (const std::size_t jobs : {1u, 4u}) {
    std::vector<std::size_t> consumed;
    EXPECT_THROW(RunInOrder<int>(
                     10, jobs,
                     [](std::size_t i) {
                       if (i == 6) throw std::runtime_error("six");
                       return static_cast<int>(i);
                     },
                     [&](std::size_t i, int&&) { consumed.push_back(i); }),
                 std::runtime_error);
    EXPECT_EQ(consumed, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5})) << jobs << " jobs";
  }
}

}  // namespace
}  // namespace zeltra
