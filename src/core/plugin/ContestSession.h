#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "plugin/HostRecords.h"
#include "prefill/PrefillList.h"
#include "scoring/Scorer.h"
#include "scoring/Summary.h"

namespace zeltra {

// The working state the statistics window owns: the scorer with its lists and
// sets, the summary it shows and the prefill list, and what the entry points
// do with them. Every operation reads the contact from the current-contact
// record, which the entry point has already overwritten with the host's.
class ContestSession {
 public:
  ContestSession(const TQSOData& current, PrefillList prefill, std::function<void()> bandSync);

  // The contact's points, or kDuplicate; records nothing.
  std::int32_t GetScore();

  // Records the contact unless it is a duplicate, then rewrites the summary
  // (also for a duplicate); answers as GetScore.
  std::int32_t AddQSO();

  // The exchange the prefill list holds for the current call sign.
  std::string GrabNumber() const;

  const Summary& summary() const { return summary_; }
  const Scorer& scorer() const { return scorer_; }

 private:
  const TQSOData& current_;
  Scorer scorer_;
  Summary summary_;
  PrefillList prefill_;
};

}  // namespace zeltra
