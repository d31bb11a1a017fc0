#include "core/crosscheck/LogCheck.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <vector>

namespace zeltra {
namespace {

constexpr std::int64_t kMinutesInHour = 60;
// A clock set wrongly is off by at most a day.
constexpr std::int64_t kLargestJumpHours = 24;
// A log's clock is found off by whole hours for a stretch when at least
// this many of its QSOs, with as many stations, are off by the same hours.
constexpr std::size_t kFewestJumpedQsos = 3;
// Each unanswered line weighs at most this many lines of the other log.
constexpr std::size_t kLinesWeighed = 64;

}  // namespace

// A line of A with X that X's log does not answer, where X's log holds, on
// that slot, a free line with A whose exchanges agree with it both ways a
// whole number of hours away (within the window): one of the two clocks
// was set wrongly for a stretch. The log that is off by those hours with
// several stations made the error and loses those QSOs; the other keeps
// each. Where that cannot be told, nothing is.
void LogCheck::MatchClockJumps() {
  const auto unanswered = [&](std::uint32_t i) { return findings_[i].partner == kNone; };
  struct Jump {
    std::uint32_t line;
    std::uint32_t answer;
    std::int64_t hours;  // the line's time less the answer's
  };
  std::vector<Jump> jumps;
  for (std::uint32_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    const std::uint32_t other = logOfCall_[line.call];
    if (!unanswered(i) || other == kNone || other == line.log) continue;
    const Range group = LinesOf(logs_[line.log].call, other, line.slot);
    std::optional<Jump> best;
    std::int64_t bestResidue = 0;
    for (std::size_t k = group.begin; k < group.end && k < group.begin + kLinesWeighed; ++k) {
      const std::uint32_t candidate = byCall_[k];
      if (!unanswered(candidate)) continue;
      const std::int64_t apart = Corrected(i) - Corrected(candidate);
      const std::int64_t hours =
          (apart + (apart < 0 ? -kMinutesInHour / 2 : kMinutesInHour / 2)) / kMinutesInHour;
      const std::int64_t residue = Magnitude(apart - hours * kMinutesInHour);
      if (hours == 0 || Magnitude(hours) > kLargestJumpHours || residue > rules_.windowMinutes ||
          Disagreements(i, candidate) != 0)
        continue;
      if (!best || residue < bestResidue) {
        best = Jump{i, candidate, hours};
        bestResidue = residue;
      }
    }
    if (best) jumps.push_back(*best);
  }
  // Each log's jumps by hours, counted by the stations they are with.
  std::map<std::pair<std::uint32_t, std::int64_t>, std::set<std::uint32_t>> stations;
  for (const Jump& jump : jumps)
    stations[{lines_[jump.line].log, jump.hours}].insert(lines_[jump.answer].log);
  const auto count = [&](std::uint32_t log, std::int64_t hours) {
    const auto found = stations.find({log, hours});
    return found == stations.end() ? std::size_t{0} : found->second.size();
  };
  for (const Jump& jump : jumps) {
    if (findings_[jump.line].partner != kNone || findings_[jump.answer].partner != kNone) continue;
    const std::size_t mine = count(lines_[jump.line].log, jump.hours);
    const std::size_t theirs = count(lines_[jump.answer].log, -jump.hours);
    if (mine < kFewestJumpedQsos || mine <= theirs) continue;
    MarkFault(jump.line, jump.answer, Fault::kClock, static_cast<std::int32_t>(jump.hours));
  }
}

}  // namespace zeltra
