#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zeltra {

// Two QSO lines that can only be each other: a log's one QSO with a
// station on a band and mode, and that station's one QSO with it there.
struct ClockPair {
  std::uint32_t log;
  std::uint32_t partner;
  std::int64_t difference;  // minutes: the time in log less the time in partner's log
};

// A log needs this many such pairs before its clock is judged.
inline constexpr std::size_t kFewestPairsForAClock = 3;

// A log's clock as the pairs judge it, and what the judgement rests on.
struct ClockJudgement {
  std::int64_t offset = 0;   // minutes ahead of the others (behind: negative)
  std::size_t pairs = 0;     // the pairs it rests on
  std::size_t agreeing = 0;  // of them, those within a minute of the offset
};

// How far each log's clock runs ahead of the others', in minutes (behind:
// negative), from the median of its differences with the logs it shares
// pairs with, each taken with that log's own offset out. Logs with the
// most pairs are judged first, so that a log whose clock is off never
// drags the logs it worked; a log with too few pairs gets 0. Of an even
// count, the middle value nearer 0 counts. An offset is kept only when a
// clear majority (two in three) of the pairs lie within a minute of it,
// and an offset of one minute only when two in three are exactly that:
// a log whose pairs sit mostly at 0 and some at -1 is right.
std::vector<ClockJudgement> ClockOffsets(std::size_t logs, const std::vector<ClockPair>& pairs);

// The median of values nearer 0 when two stand in the middle; 0 for none.
std::int64_t MedianNearerZero(std::vector<std::int64_t> values);

}  // namespace zeltra
