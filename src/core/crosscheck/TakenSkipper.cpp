#include "core/crosscheck/TakenSkipper.h"

#include <numeric>

namespace zeltra {
namespace {

// Follows links from start to a place that links to itself, then points
// every place on the way straight at it.
std::size_t Follow(std::vector<std::uint32_t>& links, std::uint32_t start) {
  std::uint32_t root = start;
  while (links[root] != root) root = links[root];
  while (links[start] != root) {
    const std::uint32_t next = links[start];
    links[start] = root;
    start = next;
  }
  return root;
}

}  // namespace

TakenSkipper::TakenSkipper(std::size_t count) : forward_(count + 1), backward_(count + 1) {
  std::iota(forward_.begin(), forward_.end(), 0U);
  std::iota(backward_.begin(), backward_.end(), 0U);
}

void TakenSkipper::Take(std::size_t place) {
  forward_[place] = static_cast<std::uint32_t>(place + 1);
  backward_[place + 1] = static_cast<std::uint32_t>(place);
}

std::size_t TakenSkipper::FreeFrom(std::size_t place) {
  if (place >= forward_.size() - 1) return kNoPlace;
  const std::size_t free = Follow(forward_, static_cast<std::uint32_t>(place));
  return free + 1 == forward_.size() ? kNoPlace : free;
}

std::size_t TakenSkipper::FreeUpTo(std::size_t place) {
  if (place >= backward_.size() - 1) return kNoPlace;
  const std::size_t free = Follow(backward_, static_cast<std::uint32_t>(place + 1));
  return free == 0 ? kNoPlace : free - 1;
}

}  // namespace zeltra
