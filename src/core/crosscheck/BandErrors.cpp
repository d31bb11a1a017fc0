#include "core/crosscheck/LogCheck.h"

#include <algorithm>
#include <vector>

namespace zeltra {
namespace {

// An unanswered line weighs the other log's lines with its station on at
// most this many other bands and modes, so that a hostile log of a mode a
// line costs time in proportion to its lines.
constexpr std::size_t kSlotsWeighed = 32;

}  // namespace

bool LogCheck::BreaksItsRun(std::uint32_t line, std::string_view band,
                            const std::vector<std::uint32_t>& byLogTime,
                            const std::vector<std::uint32_t>& placeInLogTime) const {
  const std::uint32_t place = placeInLogTime[line];
  const std::uint32_t log = lines_[line].log;
  if (place == 0 || place + 1 >= byLogTime.size()) return false;
  const std::uint32_t before = byLogTime[place - 1];
  const std::uint32_t after = byLogTime[place + 1];
  if (lines_[before].log != log || lines_[after].log != log) return false;
  return BandOf(lines_[before].slot) == band && BandOf(lines_[after].slot) == band &&
         BandOf(lines_[line].slot) != band;
}

// A line of A with X that X's log does not answer on its band, where X's
// log holds, in the same mode then, a free line with A on another band
// whose exchanges agree with it both ways: one of the two logged the band
// wrongly. The one whose line breaks its own run (its lines just before
// and after are on the other side's band) made the error and loses the
// QSO; the other keeps it. Where neither or both do, nothing is told.
void LogCheck::MatchBandErrors() {
  std::vector<std::uint32_t> byLogTime(lines_.size());
  for (std::uint32_t i = 0; i < byLogTime.size(); ++i) byLogTime[i] = i;
  std::stable_sort(byLogTime.begin(), byLogTime.end(), [&](std::uint32_t a, std::uint32_t b) {
    return std::tie(lines_[a].log, lines_[a].minute) < std::tie(lines_[b].log, lines_[b].minute);
  });
  std::vector<std::uint32_t> placeInLogTime(lines_.size());
  for (std::uint32_t place = 0; place < byLogTime.size(); ++place)
    placeInLogTime[byLogTime[place]] = place;
  FreeLines free = FreeLinesByCall();
  const auto unanswered = [&](std::uint32_t i) { return findings_[i].partner == kNone; };
  for (std::uint32_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    const std::uint32_t other = logOfCall_[line.call];
    if (!unanswered(i) || other == kNone || other == line.log) continue;
    const std::uint32_t ownCall = logs_[line.log].call;
    // The other log's lines with this station, slot by slot.
    const Range theirs = LinesOf(ownCall, other);
    std::uint32_t chosen = kNone;
    std::size_t weighed = 0;
    for (std::size_t at = theirs.begin; at < theirs.end && weighed < kSlotsWeighed; ++weighed) {
      const Range group = GroupAt(at);
      at = group.end;
      const std::uint32_t slot = keys_[group.begin].slot;
      if (slot == line.slot || ModeOf(slot) != ModeOf(line.slot)) continue;
      const std::uint32_t nearest = free.NearestOne(
          {group.begin, group.end}, Corrected(i) + logs_[other].clockOffset, rules_.windowMinutes);
      if (nearest == FreeLines::kNoLine || !unanswered(nearest) || Disagreements(i, nearest) != 0)
        continue;
      if (chosen == kNone || Magnitude(Corrected(nearest) - Corrected(i)) <
                                 Magnitude(Corrected(chosen) - Corrected(i)))
        chosen = nearest;
    }
    if (chosen == kNone) continue;
    const bool mineBreaks = BreaksItsRun(i, BandOf(lines_[chosen].slot), byLogTime, placeInLogTime);
    const bool theirsBreaks = BreaksItsRun(chosen, BandOf(line.slot), byLogTime, placeInLogTime);
    if (mineBreaks == theirsBreaks) continue;
    if (mineBreaks)
      MarkFault(i, chosen, Fault::kBand, 0);
    else
      MarkFault(chosen, i, Fault::kBand, 0);
    free.Take(i);
    free.Take(chosen);
  }
}

}  // namespace zeltra
