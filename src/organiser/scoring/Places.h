#pragma once

#include <cstddef>
#include <cstdint>

namespace zeltra::organiser {

// Places as results give them, fed the scores highest first: equal scores
// share a place, and the score after them takes the place after all of
// them (1, 2, 2, 4). A new ranking starts with a new Places.
class Places {
 public:
  std::size_t Next(std::int64_t score) {
    ++counted_;
    if (counted_ == 1 || score != last_) place_ = counted_;
    last_ = score;
    return place_;
  }

 private:
  std::size_t counted_ = 0;
  std::size_t place_ = 0;
  std::int64_t last_ = 0;
};

}  // namespace zeltra::organiser
