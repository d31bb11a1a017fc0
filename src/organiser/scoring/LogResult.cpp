#include "organiser/scoring/LogResult.h"

#include <algorithm>

namespace zeltra::organiser {

std::string LogResult::Status() const {
  if (Failed()) return "failed: " + failure;
  if (skipped == 0) return "ok";
  return std::to_string(skipped) + " " + positionWord + (skipped == 1 ? "" : "s") + " skipped";
}

std::optional<long long> LogResult::Difference() const {
  if (!claimedNumber || !score) return std::nullopt;
  // A claim is at most kLargestClaim and a score far below 2^62: no overflow.
  return *claimedNumber - score->Score();
}

std::vector<const LogResult*> Ranked(const std::vector<LogResult>& logs) {
  std::vector<const LogResult*> ranked;
  for (const LogResult& log : logs) ranked.push_back(&log);
  std::stable_sort(ranked.begin(), ranked.end(), [](const LogResult* a, const LogResult* b) {
    if (a->Failed() || b->Failed()) return !a->Failed() && b->Failed();
    if (a->score->Score() != b->score->Score()) return a->score->Score() > b->score->Score();
    return a->callSign < b->callSign;
  });
  return ranked;
}

}  // namespace zeltra::organiser
