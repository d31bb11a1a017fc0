#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/crosscheck/TakenSkipper.h"

namespace zeltra {

// Lines in groups, each group's lines in the order of their times, some of
// them taken: a group's free lines near a time are visited nearest first,
// those already taken passed over without being looked at, so that a busy
// stretch of lines paired already costs nothing to pass.
class FreeLines {
 public:
  // A group: [begin, end) of the places.
  struct Group {
    std::size_t begin;
    std::size_t end;
  };

  // order: the lines by place, each group's together and in time order
  // (of one minute, in the order of their logs); minutes: their times, by
  // place; lineCount: how many lines are numbered.
  FreeLines(std::vector<std::uint32_t> order, std::vector<std::int64_t> minutes,
            std::size_t lineCount);

  void Take(std::uint32_t line);
  bool IsTaken(std::uint32_t line) const { return taken_[line]; }

  // Visits the free lines of group within window minutes of minute,
  // nearest first; of lines as near, the one earlier in its log (the
  // lower number) first. At most most lines are visited; visit returns
  // false to stop. Answers how many were visited.
  template <typename Visit>
  std::size_t Nearest(Group group, std::int64_t minute, std::int64_t window, std::size_t most,
                      Visit visit);

  // The free line of group nearest minute within window; kNoLine if none.
  std::uint32_t NearestOne(Group group, std::int64_t minute, std::int64_t window);

  static constexpr std::uint32_t kNoLine = UINT32_MAX;

 private:
  // At most most free lines of group at one minute, from the place at or
  // after from, in order; appended to into.
  void FreeAt(Group group, std::size_t from, std::int64_t minute, std::size_t most,
              std::vector<std::uint32_t>& into);
  std::size_t FirstAt(Group group, std::int64_t minute) const;

  std::vector<std::uint32_t> order_;
  std::vector<std::int64_t> minutes_;   // by place
  std::vector<std::uint32_t> placeOf_;  // by line
  std::vector<bool> taken_;             // by line
  TakenSkipper free_;
  std::vector<std::uint32_t> step_;  // the lines of one step outwards
};

template <typename Visit>
std::size_t FreeLines::Nearest(Group group, std::int64_t minute, std::int64_t window,
                               std::size_t most, Visit visit) {
  // Two edges move outwards: the latest free place before the minute, and
  // the first free place at or after it.
  const std::size_t from = FirstAt(group, minute);
  std::size_t after = free_.FreeFrom(from);
  std::size_t before = from > group.begin ? free_.FreeUpTo(from - 1) : TakenSkipper::kNoPlace;
  std::size_t visited = 0;
  while (visited < most) {
    const bool hasAfter =
        after != TakenSkipper::kNoPlace && after < group.end && minutes_[after] - minute <= window;
    const bool hasBefore = before != TakenSkipper::kNoPlace && before >= group.begin &&
                           minute - minutes_[before] <= window;
    if (!hasAfter && !hasBefore) break;
    const std::int64_t afterBy = hasAfter ? minutes_[after] - minute : window + 1;
    const std::int64_t beforeBy = hasBefore ? minute - minutes_[before] : window + 1;
    const std::int64_t by = afterBy < beforeBy ? afterBy : beforeBy;
    // Every free line at this distance, on either side, in their logs' order.
    step_.clear();
    const std::size_t left = most - visited;
    if (afterBy == by) {
      FreeAt(group, after, minutes_[after], left, step_);
      const std::size_t next = FirstAt(group, minutes_[after] + 1);
      after = next < group.end ? free_.FreeFrom(next) : TakenSkipper::kNoPlace;
    }
    if (beforeBy == by) {
      const std::size_t first = FirstAt(group, minutes_[before]);
      FreeAt(group, first, minutes_[before], left, step_);
      before = first > group.begin ? free_.FreeUpTo(first - 1) : TakenSkipper::kNoPlace;
    }
    if (afterBy == by && beforeBy == by) std::sort(step_.begin(), step_.end());
    for (const std::uint32_t line : step_) {
      if (visited == most) break;
      ++visited;
      if (!visit(line)) return visited;
    }
  }
  return visited;
}

}  // namespace zeltra
