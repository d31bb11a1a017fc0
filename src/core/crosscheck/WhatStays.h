#pragma once

#include <cstdint>

#include "core/crosscheck/Verdict.h"

namespace zeltra {

// What the check's verdicts do to a log's score: which QSO lines stay
// scored, and how many QSOs' points more each costs.
struct ScoringRules {
  bool removeUniques = false;
  std::int64_t nilPenalty = 0;     // QSOs' points taken off for each NIL
  std::int64_t bustedPenalty = 0;  // and for each busted call or exchange
};

// ok, unchecked and (unless removed) unique lines stay scored.
inline bool Stays(Verdict verdict, const ScoringRules& rules) {
  return verdict == Verdict::kOk || verdict == Verdict::kUnchecked ||
         (verdict == Verdict::kUnique && !rules.removeUniques);
}

// Whether a line's penalty is a busted one's (else a NIL's, or none).
inline bool IsBusted(Verdict verdict) {
  return verdict == Verdict::kBustedCall || verdict == Verdict::kBustedExchange;
}

// How many times a line's own points are taken off besides: the NIL or
// busted penalty; 0 for the others.
inline std::int64_t PenaltyTimes(Verdict verdict, const ScoringRules& rules) {
  return verdict == Verdict::kNil ? rules.nilPenalty : IsBusted(verdict) ? rules.bustedPenalty : 0;
}

}  // namespace zeltra
