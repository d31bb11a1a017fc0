#include "core/crosscheck/LogCheck.h"

#include <algorithm>
#include <vector>

namespace zeltra {

// The scorer counts a call once per band and mode. Which of a log's lines
// with a call on a slot is the QSO is decided after matching, on the
// evidence: the first the other side confirms (the first line, when none
// is confirmed). Lines after it are duplicates; a line before it that
// nothing confirms (a first copy logged wrong, logged again right minutes
// later) is judged on its own.
void LogCheck::MarkDupes() {
  for (std::size_t begin = 0; begin < byCall_.size();) {
    const Range group = GroupAt(begin);
    begin = group.end;
    if (group.end - group.begin == 1) continue;
    std::vector<std::uint32_t> lines(byCall_.begin() + static_cast<std::ptrdiff_t>(group.begin),
                                     byCall_.begin() + static_cast<std::ptrdiff_t>(group.end));
    std::stable_sort(lines.begin(), lines.end(), [&](std::uint32_t a, std::uint32_t b) {
      return lines_[a].minute < lines_[b].minute;
    });
    const auto confirmed = std::find_if(lines.begin(), lines.end(), [&](std::uint32_t line) {
      return findings_[line].partner != kNone && findings_[line].verdict != Verdict::kBustedCall &&
             !findings_[line].ownFault;
    });
    const auto qso = confirmed == lines.end() ? lines.begin() : confirmed;
    for (auto later = qso + 1; later != lines.end(); ++later) findings_[*later].dupe = true;
  }
}

}  // namespace zeltra
