#pragma once

#include <compare>
#include <string>

namespace zeltra {

// Why the contest does not count a contact that a log holds.
struct LeftOutReason {
  enum class Kind {
    kMode,           // another mode than the contest's: detail names it
    kBand,           // a band outside the contest's: detail names it
    kNoDateAndTime,  // a period is asked for and the contact has no time
    kBeforePeriod,   // before the period's start
    kAfterPeriod,    // at or after the period's end
    kOffCategory,    // a single-band entrant's contact on another band: detail names it
  };
  Kind kind;
  std::string detail;

  friend auto operator<=>(const LeftOutReason&, const LeftOutReason&) = default;
};

}  // namespace zeltra
