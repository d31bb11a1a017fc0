#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zeltra {

// Places 0..n-1 of a list, some of them taken: the nearest free place at
// or after a place, or at or before it, found in near-constant time
// however many are taken around it (each taken place is passed over by a
// link that shortens as it is followed).
class TakenSkipper {
 public:
  static constexpr std::size_t kNoPlace = SIZE_MAX;

  // count: fewer than 2^32 - 1 places.
  explicit TakenSkipper(std::size_t count);

  void Take(std::size_t place);
  // The first free place at or after place; kNoPlace when none is.
  std::size_t FreeFrom(std::size_t place);
  // The last free place at or before place; kNoPlace when none is.
  std::size_t FreeUpTo(std::size_t place);

 private:
  // forward_[i]: a place at or after i that is free, or leads on to one;
  // count means none. backward_[i + 1] likewise for place i, backwards; 0:
  // none.
  std::vector<std::uint32_t> forward_;
  std::vector<std::uint32_t> backward_;
};

}  // namespace zeltra
