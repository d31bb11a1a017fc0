#include "core/crosscheck/LogCheck.h"

#include <algorithm>
#include <optional>
#include <tuple>

#include "core/crosscheck/NearCalls.h"
#include "core/parallel/ForEachStretch.h"

namespace zeltra {

std::uint32_t LogCheck::PartAnswering(std::uint32_t i, std::uint32_t other) const {
  const Line& line = lines_[i];
  const std::uint32_t ownCall = logs_[line.log].call;
  const std::int64_t minute = Corrected(i) + logs_[other].clockOffset;
  const auto from = std::lower_bound(parts_.begin(), parts_.end(),
                                     std::tuple(other, ownCall, minute - rules_.windowMinutes),
                                     [](const Part& part, const auto& at) {
                                       return std::tie(part.log, part.call, part.minute) < at;
                                     });
  const std::string_view slot = slots_.Text(line.slot);
  const std::string_view band = slot.substr(0, slot.find('\n'));
  for (auto at = from; at != parts_.end() && at->log == other && at->call == ownCall &&
                       at->minute <= minute + rules_.windowMinutes;
       ++at)
    if (at->band == band) return static_cast<std::uint32_t>(at - parts_.begin());
  return kNone;
}

// A call one slip from a unique's that was on the air on the same band and
// mode within the window: worked there in another log, or the own call of
// a log with a line there. The call likely meant.
std::uint32_t LogCheck::LikelyCall(std::uint32_t line, const NearCallIndex& workedCalls) const {
  const Line& unique = lines_[line];
  const auto onTheAir = [&](std::uint32_t other) {
    return lines_[other].log != unique.log && lines_[other].slot == unique.slot &&
           WithinWindow(line, other);
  };
  for (const std::uint32_t call : workedCalls.Near(calls_.Text(unique.call))) {
    const Range range = LinesOf(call);
    for (std::size_t k = range.begin; k < range.end; ++k)
      if (onTheAir(byCall_[k])) return call;
    // The station's own lines, in each of its logs checked.
    for (std::uint32_t log = logOfCall_[call]; log != kNone; log = logs_[log].nextJoined) {
      const std::uint32_t first = logs_[log].firstLine;
      for (std::uint32_t other = first; other < first + logs_[log].lineCount; ++other)
        if (onTheAir(other)) return call;
    }
  }
  return kNone;
}

void LogCheck::Judge(std::size_t threads) {
  const bool anyUnanswered = std::any_of(findings_.begin(), findings_.end(), [](const Finding& f) {
    return f.partner == kNone && !f.dupe;
  });
  std::optional<NearCallIndex> workedCalls;
  if (anyUnanswered) workedCalls.emplace(calls_.texts());
  ForEachStretch(
      lines_.size(), threads, [](std::size_t at) { return at; },
      [&](std::size_t, std::size_t from, std::size_t to) {
        for (auto i = static_cast<std::uint32_t>(from); i < to; ++i) JudgeLine(i, workedCalls);
      });
}

// Each line's verdict from what the matching found; it writes its own
// finding only.
void LogCheck::JudgeLine(std::uint32_t i, const std::optional<NearCallIndex>& workedCalls) {
  Finding& finding = findings_[i];
  const Line& line = lines_[i];
  if (finding.dupe) {
    finding.verdict = Verdict::kDupe;
    finding.detail = kNone;
  } else if (finding.verdict == Verdict::kBustedCall) {
    return;
  } else if (LosesForOwnFault(finding)) {
    // This side's error: the QSO is lost here, kept on the other side. A
    // serial logged wrongly as sent (where the rules charge the sender) is
    // a busted exchange, with what the other side copied; a band or a time
    // logged wrongly leaves no QSO in the other log as this one has it.
    const bool serial = finding.fault == Fault::kSentSerial;
    finding.verdict = serial ? Verdict::kBustedExchange : Verdict::kNil;
    finding.detail = serial ? lines_[finding.partner].received : kNone;
  } else if (finding.partner != kNone) {
    // A line whose own sent serial was logged off still copied what the
    // other side sent, or not; the other side's copy of such a serial is
    // judged by the finding.
    const bool ownSerialOff = finding.fault == Fault::kSentSerial && finding.ownFault;
    if ((finding.fault == Fault::kNone || ownSerialOff) && !CopiedAsSent(i, finding.partner)) {
      finding.verdict = Verdict::kBustedExchange;
      finding.detail = lines_[finding.partner].sent;
    }
  } else if (const std::uint32_t other = logOfCall_[line.call];
             other != kNone && (finding.part = PartAnswering(i, other)) != kNone) {
    // The other log holds it, in a line that could not be read whole.
    finding.verdict = Verdict::kUnchecked;
  } else if (other != kNone) {
    finding.verdict = Verdict::kNil;
    // The other log's line with this station nearest in time, on any slot,
    // of those that answer no other line.
    const std::uint32_t ownCall = logs_[line.log].call;
    const Range theirs = LinesOf(ownCall, other);
    for (std::size_t at = theirs.begin; at < theirs.end; ++at) {
      const std::uint32_t candidate = byCall_[at];
      if (findings_[candidate].partner != kNone) continue;
      if (finding.nearest == kNone || Magnitude(Corrected(candidate) - Corrected(i)) <
                                          Magnitude(Corrected(finding.nearest) - Corrected(i)))
        finding.nearest = candidate;
    }
  } else if (OthersHold(line.call, line.log)) {
    finding.verdict = Verdict::kUnchecked;
  } else {
    finding.verdict = Verdict::kUnique;
    finding.detail = LikelyCall(i, *workedCalls);
  }
}

}  // namespace zeltra
