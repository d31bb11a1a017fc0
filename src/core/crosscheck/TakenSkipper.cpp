#include "core/crosscheck/TakenSkipper.h"

#include <numeric>

namespace zeltra {
namespace {

// Follows links from start to a place that links to itself, then points
// every place on the way straight at it.
std::size_t Follow(std::vector<std::size_t>& links, std::size_t start) {
  std::size_t root = start;
  while (links[root] != root) root = links[root];
  while (links[start] != root) {
    const std::size_t next = links[start];
    links[start] = root;
    start = next;
  }
  return root;
}

}  // namespace

TakenSkipper::TakenSkipper(std::size_t count) : forward_(count + 1), backward_(count + 1) {
  std::iota(forward_.begin(), forward_.end(), std::size_t{0});
  std::iota(backward_.begin(), backward_.end(), std::size_t{0});
}

void TakenSkipper::Take(std::size_t place) {
  forward_[place] = place + 1;
  backward_[place + 1] = place;
}

std::size_t TakenSkipper::FreeFrom(std::size_t place) {
  if (place >= forward_.size() - 1) return kNoPlace;
  const std::size_t free = Follow(forward_, place);
  return free + 1 == forward_.size() ? kNoPlace : free;
}

std::size_t TakenSkipper::FreeUpTo(std::size_t place) {
  if (place >= backward_.size() - 1) return kNoPlace;
  const std::size_t free = Follow(backward_, place + 1);
  return free == 0 ? kNoPlace : free - 1;
}

}  // namespace zeltra
