#include "core/crosscheck/LogCheck.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

namespace zeltra {
namespace {

// Calls are compared for likeness over at most this many characters.
constexpr std::size_t kLongestCallCompared = 32;

// How many characters must be put, added or left out to make one call of
// the other (their edit distance), over their first characters.
std::size_t CallDistance(std::string_view a, std::string_view b) {
  a = a.substr(0, kLongestCallCompared);
  b = b.substr(0, kLongestCallCompared);
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// A line that the other log may have copied with another call, and that
// copy: nearer in time first, then the likelier call, then the earlier.
struct CopyEvidence {
  std::int64_t apart;
  std::size_t unlike;
  std::uint32_t line;
  std::uint32_t copy;
  bool SameWeight(const CopyEvidence& other) const {
    return apart == other.apart && unlike == other.unlike;
  }
  bool operator<(const CopyEvidence& other) const {
    return std::tie(apart, unlike, line, copy) <
           std::tie(other.apart, other.unlike, other.line, other.copy);
  }
};

// The lines and their copies the evidence names: the best first; a line
// or a copy whose best two are alike tells nothing and is given to none.
// Pairs of one weight are taken together, each line and copy counted
// among them.
std::vector<std::pair<std::uint32_t, std::uint32_t>> BestCopies(
    std::vector<CopyEvidence> candidates, std::size_t lineCount) {
  std::sort(candidates.begin(), candidates.end());
  std::vector<std::pair<std::uint32_t, std::uint32_t>> best;
  std::vector<bool> taken(lineCount);
  std::map<std::uint32_t, std::size_t> named;  // lines and copies in one weight's pairs
  for (std::size_t begin = 0; begin < candidates.size();) {
    std::size_t end = begin + 1;
    while (end < candidates.size() && candidates[end].SameWeight(candidates[begin])) ++end;
    named.clear();
    for (std::size_t k = begin; k < end; ++k)
      if (!taken[candidates[k].line] && !taken[candidates[k].copy]) {
        ++named[candidates[k].line];
        ++named[candidates[k].copy];
      }
    for (std::size_t k = begin; k < end; ++k) {
      const CopyEvidence& pair = candidates[k];
      if (taken[pair.line] || taken[pair.copy]) continue;
      taken[pair.line] = true;
      taken[pair.copy] = true;
      if (named[pair.line] > 1 || named[pair.copy] > 1) continue;
      best.emplace_back(pair.line, pair.copy);
    }
    begin = end;
  }
  return best;
}

}  // namespace

FreeLines LogCheck::PossibleCopies(const std::vector<std::uint32_t>& byLogTime) const {
  FreeLines copies = FreeLinesIn(byLogTime);
  // What can never be a copy of another station's call: a line paired, a
  // line with a call that other logs hold and that sent no log (it was on
  // the air: that line is its QSO), and one that the log of the station it
  // names answers with a line read in part. A line whose station confirms
  // another of its lines is no QSO for that: each line of the other log
  // answers one line only.
  for (std::uint32_t i = 0; i < lines_.size(); ++i) {
    const std::uint32_t named = logOfCall_[lines_[i].call];
    if (findings_[i].partner != kNone ||
        (named == kNone && OthersHold(lines_[i].call, lines_[i].log)) ||
        (named != kNone && named != lines_[i].log && PartAnswering(i, named) != kNone))
      copies.Take(i);
  }
  return copies;
}

// A line of A with X that X's log does not answer, where X's log holds,
// on that slot then, a line with another call whose exchanges agree with
// A's line both ways: X copied A's call wrongly, however far from it. A
// keeps the QSO, and X's line is the busted one. X's lines are searched
// outwards from the time of A's line, nearest first; lines already paired,
// a station's own confirmation among them, are passed over without being
// weighed, so that a busy run before the QSO hides nothing. Of copies as
// near, the one whose call is likelier A's is taken; two exactly alike
// tell nothing.
void LogCheck::MatchReverseBusts() {
  // Every line by log, slot and time: a log's lines on a slot near a time
  // are found by a search.
  std::vector<std::uint32_t> byLogTime(lines_.size());
  for (std::uint32_t i = 0; i < byLogTime.size(); ++i) byLogTime[i] = i;
  const auto place = [&](std::uint32_t line) {
    return std::tuple(lines_[line].log, lines_[line].slot, lines_[line].minute);
  };
  std::stable_sort(byLogTime.begin(), byLogTime.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return place(a) < place(b); });
  const auto slotOf = [&](std::uint32_t line) {
    return std::pair(lines_[line].log, lines_[line].slot);
  };
  const auto groupOf = [&](std::uint32_t log, std::uint32_t slot) {
    const std::pair wanted(log, slot);
    const auto begin =
        std::lower_bound(byLogTime.begin(), byLogTime.end(), wanted,
                         [&](std::uint32_t line, const auto& at) { return slotOf(line) < at; });
    const auto end =
        std::upper_bound(begin, byLogTime.end(), wanted,
                         [&](const auto& at, std::uint32_t line) { return at < slotOf(line); });
    return FreeLines::Group{static_cast<std::size_t>(begin - byLogTime.begin()),
                            static_cast<std::size_t>(end - byLogTime.begin())};
  };
  FreeLines copies = PossibleCopies(byLogTime);
  // Every unanswered line's possible copies in the other log, weighed by
  // how near in time and how like the station's call the copy's call is.
  std::vector<CopyEvidence> candidates;
  for (std::uint32_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    const std::uint32_t other = logOfCall_[line.call];
    // A line the other log answers with a line read in part was no copy.
    if (findings_[i].partner != kNone || other == kNone || other == line.log ||
        PartAnswering(i, other) != kNone)
      continue;
    // The line's time in the other log's clock.
    const std::int64_t minute = Corrected(i) + logs_[other].clockOffset;
    const std::string_view station = calls_.Text(logs_[line.log].call);
    copies.Nearest(
        groupOf(other, line.slot), minute, rules_.windowMinutes, kCopiesWeighed,
        [&](std::uint32_t candidate) {
          const std::uint32_t call = lines_[candidate].call;
          if (call != logs_[line.log].call && call != logs_[other].call &&
              Disagreements(i, candidate) == 0)
            candidates.push_back({.apart = Magnitude(Corrected(candidate) - Corrected(i)),
                                  .unlike = CallDistance(station, calls_.Text(call)),
                                  .line = i,
                                  .copy = candidate});
          return true;
        });
  }
  for (const auto& [line, copy] : BestCopies(std::move(candidates), lines_.size())) {
    findings_[copy].verdict = Verdict::kBustedCall;
    findings_[copy].detail = logs_[lines_[line].file].ownCall;
    findings_[copy].partner = line;
    findings_[line].partner = copy;
  }
}

}  // namespace zeltra
