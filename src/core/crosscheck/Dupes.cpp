#include "core/crosscheck/LogCheck.h"

#include <algorithm>
#include <vector>

namespace zeltra {

// The scorer counts a call once per band and mode. Which of a log's lines
// with a call on a slot is the QSO is decided after matching, on the
// evidence: the first the other side confirms (the first line, when none
// is confirmed). Lines after it are duplicates; a line before it that
// nothing confirms (a first copy logged wrong, logged again right minutes
// later) is judged on its own. Where the rules let a station be worked
// again after some minutes, a line that long after the QSO that counted
// starts another. A busted call is a QSO with the station whose call was
// copied wrongly, not with the station it names: it is no line of the
// group, neither a dupe nor the QSO that makes one.
void LogCheck::MarkDupes() {
  std::vector<std::uint32_t> lines;
  for (std::size_t begin = 0; begin < byCall_.size();) {
    const Range group = GroupAt(begin);
    begin = group.end;
    if (group.end - group.begin == 1) continue;
    lines.clear();
    for (std::size_t k = group.begin; k < group.end; ++k)
      if (findings_[byCall_[k]].verdict != Verdict::kBustedCall) lines.push_back(byCall_[k]);
    std::stable_sort(lines.begin(), lines.end(), [&](std::uint32_t a, std::uint32_t b) {
      return lines_[a].minute < lines_[b].minute;
    });
    const auto isConfirmed = [&](std::uint32_t line) {
      return findings_[line].partner != kNone && !LosesForOwnFault(findings_[line]);
    };
    // With re-working allowed, each QSO that counts opens a stretch of the
    // rework time in which the lines after it are dupes; the next line
    // after the stretch starts the search for the next QSO.
    const auto within = [&](std::uint32_t line, std::int64_t from) {
      return !rules_.reworkMinutes || lines_[line].minute < from + *rules_.reworkMinutes;
    };
    for (auto from = lines.begin(); from != lines.end();) {
      const std::int64_t start = lines_[*from].minute;
      auto qso = std::find_if(from, lines.end(), [&](std::uint32_t line) {
        return !within(line, start) || isConfirmed(line);
      });
      if (qso == lines.end() || !isConfirmed(*qso)) qso = from;
      const std::int64_t counted = lines_[*qso].minute;
      auto later = qso + 1;
      for (; later != lines.end() && within(*later, counted); ++later)
        findings_[*later].dupe = true;
      from = later;
    }
  }
}

}  // namespace zeltra
