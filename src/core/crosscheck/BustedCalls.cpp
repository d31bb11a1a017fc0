#include "core/crosscheck/LogCheck.h"

#include <utility>
#include <vector>

#include "core/crosscheck/NearCalls.h"
#include "core/parallel/ForEachStretch.h"

namespace zeltra {

std::uint32_t LogCheck::OneSlipAway(std::uint32_t i, const std::vector<std::uint32_t>& nearLogs,
                                    FreeLines& byTime) const {
  const Line& line = lines_[i];
  const std::uint32_t ownCall = logs_[line.log].call;
  std::uint32_t station = kNone;
  std::uint32_t chosen = kNone;
  std::pair<int, std::int64_t> best;
  bool tied = false;
  for (const std::uint32_t log : nearLogs) {
    if (log == line.log) continue;
    const Range group = LinesOf(ownCall, log, line.slot);
    const std::uint32_t nearest = byTime.NearestOne(
        {group.begin, group.end}, Corrected(i) + logs_[log].clockOffset, rules_.windowMinutes);
    if (nearest == FreeLines::kNoLine) continue;
    const std::pair evidence(Disagreements(i, nearest),
                             Magnitude(Corrected(i) - Corrected(nearest)));
    if (station != kNone && evidence == best) {
      tied = true;
      continue;
    }
    if (station != kNone && best < evidence) continue;
    tied = false;
    best = evidence;
    station = log;
    chosen = nearest;
  }
  return station == kNone || tied ? kNone : chosen;
}

// A line no log answers may be a call copied with one slip: the station
// one slip away, and only one, holds a free line with this log then and
// there. That station keeps its QSO; this line is the busted one.
void LogCheck::MatchBustedCalls(std::size_t threads) {
  std::vector<std::string_view> logCalls;
  for (const Log& log : logs_) logCalls.push_back(calls_.Text(log.call));
  const NearCallIndex nearLogs(logCalls);
  const auto unmatched = [&](std::uint32_t i) {
    return findings_[i].partner == kNone && lines_[i].call != logs_[lines_[i].log].call;
  };
  // The logs one slip away from each call that a line still unmatched
  // names, looked up on every thread; the lines then take them in order.
  std::vector<std::uint32_t> wanted;
  std::vector<bool> isWanted(calls_.size());
  for (std::uint32_t i = 0; i < lines_.size(); ++i)
    if (unmatched(i) && !isWanted[lines_[i].call]) {
      isWanted[lines_[i].call] = true;
      wanted.push_back(lines_[i].call);
    }
  std::vector<std::vector<std::uint32_t>> nearLogsOf(calls_.size());
  ForEachStretch(
      wanted.size(), threads, [](std::size_t at) { return at; },
      [&](std::size_t, std::size_t begin, std::size_t end) {
        for (std::size_t k = begin; k < end; ++k)
          nearLogsOf[wanted[k]] = nearLogs.Near(calls_.Text(wanted[k]));
      });
  FreeLines byTime = FreeLinesByCall();
  for (std::uint32_t i = 0; i < lines_.size(); ++i) {
    if (!unmatched(i)) continue;
    const std::uint32_t chosen = OneSlipAway(i, nearLogsOf[lines_[i].call], byTime);
    if (chosen == kNone) continue;
    findings_[i].verdict = Verdict::kBustedCall;
    findings_[i].detail = logs_[lines_[chosen].file].ownCall;
    findings_[i].partner = chosen;
    findings_[chosen].partner = i;
    byTime.Take(i);
    byTime.Take(chosen);
  }
}

}  // namespace zeltra
