#include "core/crosscheck/FreeLines.h"

namespace zeltra {

FreeLines::FreeLines(std::vector<std::uint32_t> order, std::vector<std::int64_t> minutes,
                     std::size_t lineCount)
    : order_(std::move(order)),
      minutes_(std::move(minutes)),
      placeOf_(lineCount),
      taken_(lineCount),
      free_(order_.size()) {
  for (std::size_t place = 0; place < order_.size(); ++place)
    placeOf_[order_[place]] = static_cast<std::uint32_t>(place);
}

void FreeLines::Take(std::uint32_t line) {
  if (taken_[line]) return;
  taken_[line] = true;
  free_.Take(placeOf_[line]);
}

std::size_t FreeLines::FirstAt(Group group, std::int64_t minute) const {
  const auto begin = minutes_.begin() + static_cast<std::ptrdiff_t>(group.begin);
  const auto end = minutes_.begin() + static_cast<std::ptrdiff_t>(group.end);
  return static_cast<std::size_t>(std::lower_bound(begin, end, minute) - minutes_.begin());
}

void FreeLines::FreeAt(Group group, std::size_t from, std::int64_t minute, std::size_t most,
                       std::vector<std::uint32_t>& into) {
  for (std::size_t place = free_.FreeFrom(from), found = 0;
       found < most && place != TakenSkipper::kNoPlace && place < group.end &&
       minutes_[place] == minute;
       place = free_.FreeFrom(place + 1), ++found)
    into.push_back(order_[place]);
}

std::uint32_t FreeLines::NearestOne(Group group, std::int64_t minute, std::int64_t window) {
  std::uint32_t nearest = kNoLine;
  Nearest(group, minute, window, 1, [&](std::uint32_t line) {
    nearest = line;
    return false;
  });
  return nearest;
}

}  // namespace zeltra
