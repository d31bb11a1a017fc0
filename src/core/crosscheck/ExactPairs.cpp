#include "core/crosscheck/LogCheck.h"

#include <algorithm>
#include <tuple>
#include <vector>

#include "core/crosscheck/ClockOffsets.h"
#include "core/parallel/ForEachStretch.h"

namespace zeltra {
namespace {

// A clock is judged from differences up to this: a log kept in local time
// instead of UTC is off by an hour or two.
constexpr std::int64_t kLargestClockOffsetMinutes = 180;

// How well two lines answer each other: how many of the two exchanges
// were not copied as sent (0, 1 or 2), and how far apart in time they are.
// More agreement wins; then the nearer in time; then the earlier lines.
struct PairEvidence {
  int disagreements;
  std::int64_t apart;
  std::uint32_t mine;
  std::uint32_t theirs;
  bool operator<(const PairEvidence& other) const {
    return std::tie(disagreements, apart, mine, theirs) <
           std::tie(other.disagreements, other.apart, other.mine, other.theirs);
  }
};

}  // namespace

template <typename Each>
void LogCheck::ForEachAnsweredGroup(std::size_t threads, Each each) const {
  ForEachStretch(
      byCall_.size(), threads, [&](std::size_t at) { return GroupStartFrom(at); },
      [&](std::size_t part, std::size_t from, std::size_t to) {
        for (std::size_t begin = from; begin < to;) {
          const Line& line = lines_[byCall_[begin]];
          const Range mine = GroupAt(begin);
          begin = mine.end;
          const std::uint32_t other = logOfCall_[line.call];
          if (other == kNone || other <= line.log) continue;
          each(part, mine, LinesOf(logs_[line.log].call, other, line.slot));
        }
      });
}

// Pairs that can only be each other: one line of A with X on a slot, and
// one line of X with A there.
void LogCheck::JudgeClocks(std::size_t threads) {
  std::vector<std::vector<ClockPair>> found(std::max<std::size_t>(threads, 1));
  ForEachAnsweredGroup(threads, [&](std::size_t part, Range mine, Range theirs) {
    if (mine.end - mine.begin != 1 || theirs.end - theirs.begin != 1) return;
    const Line& line = lines_[byCall_[mine.begin]];
    const Line& answer = lines_[byCall_[theirs.begin]];
    const std::int64_t difference = line.minute - answer.minute;
    if (Magnitude(difference) <= kLargestClockOffsetMinutes)
      found[part].push_back({line.log, answer.log, difference});
  });
  std::vector<ClockPair> pairs;
  for (const std::vector<ClockPair>& part : found)
    pairs.insert(pairs.end(), part.begin(), part.end());
  const std::vector<ClockJudgement> judged = ClockOffsets(logs_.size(), pairs);
  for (std::size_t log = 0; log < logs_.size(); ++log) {
    logs_[log].clockOffset = judged[log].offset;
    logs_[log].clock = judged[log];
  }
}

void LogCheck::MatchExactly(std::size_t threads) {
  ForEachAnsweredGroup(threads,
                       [&](std::size_t, Range mine, Range theirs) { MatchGroup(mine, theirs); });
}

// The lines of a log with a call on a slot, and the lines of that call's
// log with this one, are paired on all the evidence: each line of either
// side at most once, the pairs whose exchanges agree both ways first, then
// the nearest in time. A line weighs only the few lines of the other side
// nearest it in time, so that a hostile log that repeats a call costs
// time in proportion to its lines.
void LogCheck::MatchGroup(Range mine, Range theirs) {
  const auto inTimeOrder = [&](Range range) {
    std::vector<std::uint32_t> lines;
    for (std::size_t i = range.begin; i < range.end; ++i)
      if (findings_[byCall_[i]].partner == kNone) lines.push_back(byCall_[i]);
    std::stable_sort(lines.begin(), lines.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return Corrected(a) < Corrected(b); });
    return lines;
  };
  const std::vector<std::uint32_t> ours = inTimeOrder(mine);
  const std::vector<std::uint32_t> others = inTimeOrder(theirs);
  if (ours.empty() || others.empty()) return;
  std::vector<PairEvidence> pairs;
  for (const std::uint32_t line : ours) {
    const std::int64_t minute = Corrected(line);
    // Outwards from the line's time, the nearer side first.
    auto right = std::lower_bound(
        others.begin(), others.end(), minute,
        [&](std::uint32_t other, std::int64_t at) { return Corrected(other) < at; });
    auto left = right;
    for (std::size_t weighed = 0; weighed < kPairsWeighed; ++weighed) {
      const bool hasLeft =
          left != others.begin() && minute - Corrected(*(left - 1)) <= rules_.windowMinutes;
      const bool hasRight =
          right != others.end() && Corrected(*right) - minute <= rules_.windowMinutes;
      if (!hasLeft && !hasRight) break;
      const bool takeLeft =
          hasLeft && (!hasRight || minute - Corrected(*(left - 1)) <= Corrected(*right) - minute);
      const std::uint32_t other = takeLeft ? *--left : *right++;
      pairs.push_back({.disagreements = Disagreements(line, other),
                       .apart = Magnitude(minute - Corrected(other)),
                       .mine = line,
                       .theirs = other});
    }
  }
  std::sort(pairs.begin(), pairs.end());
  for (const PairEvidence& pair : pairs) {
    if (findings_[pair.mine].partner != kNone || findings_[pair.theirs].partner != kNone) continue;
    findings_[pair.mine].partner = pair.theirs;
    findings_[pair.theirs].partner = pair.mine;
  }
}

}  // namespace zeltra
