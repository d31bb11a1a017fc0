#include "core/crosscheck/LogCheck.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

namespace zeltra {

// A line of A with X that X's log does not answer, where X's log holds,
// on that slot then, a line with another call whose exchanges agree with
// A's line both ways: X copied A's call wrongly, however far from it. A
// keeps the QSO, and X's line is the busted one. X's lines are searched
// outwards from the time of A's line, nearest first; lines already paired,
// a station's own confirmation among them, are passed over without being
// weighed, so that a busy run before the QSO hides nothing.
void LogCheck::MatchReverseBusts() {
  const std::vector<bool> repeat = Repeats();
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
  std::vector<std::int64_t> minutes(lines_.size());
  for (std::size_t i = 0; i < lines_.size(); ++i) minutes[i] = lines_[i].minute;
  FreeLines copies(byLogTime, minutes, lines_.size());
  // What can never be a copy of another station's call: a line paired, a
  // repeat of one, and a line with a call that other logs hold and that
  // sent no log (it was on the air: that line is its QSO).
  for (std::uint32_t i = 0; i < lines_.size(); ++i)
    if (findings_[i].partner != kNone || repeat[i] ||
        (logOfCall_[lines_[i].call] == kNone && OthersHold(lines_[i].call, lines_[i].log)))
      copies.Take(i);
  // Each unanswered line's likeliest copy in the other log; a copy two
  // lines claim as nearly is given to neither.
  struct Claim {
    std::int64_t apart;
    std::uint32_t line;
    bool tied;
  };
  std::map<std::uint32_t, Claim> claims;  // by the copy
  for (std::uint32_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    const std::uint32_t other = logOfCall_[line.call];
    if (findings_[i].partner != kNone || repeat[i] || other == kNone || other == line.log) continue;
    // The line's time in the other log's clock.
    const std::int64_t minute = Corrected(i) + logs_[other].clockOffset;
    std::uint32_t chosen = kNone;
    copies.Nearest(groupOf(other, line.slot), minute, rules_.windowMinutes, kPairsWeighed,
                   [&](std::uint32_t candidate) {
                     const std::uint32_t call = lines_[candidate].call;
                     if (call == logs_[line.log].call || call == logs_[other].call ||
                         Disagreements(i, candidate) != 0)
                       return true;
                     chosen = candidate;
                     return false;
                   });
    if (chosen == kNone) continue;
    const std::int64_t apart = Magnitude(Corrected(chosen) - Corrected(i));
    const auto [claim, isNew] = claims.try_emplace(chosen, Claim{apart, i, false});
    if (isNew || apart > claim->second.apart) continue;
    claim->second = {apart, i, apart == claim->second.apart};
  }
  for (const auto& [copy, claim] : claims) {
    if (claim.tied) continue;
    findings_[copy].verdict = Verdict::kBustedCall;
    findings_[copy].detail = logs_[lines_[claim.line].log].ownCall;
    findings_[copy].partner = claim.line;
    findings_[claim.line].partner = copy;
  }
}

}  // namespace zeltra
