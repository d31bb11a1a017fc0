#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/crosscheck/LogCheck.h"
#include "organiser/checking/CheckedLog.h"

namespace zeltra::organiser {

// Why a log deserves the organiser's look before the results are
// published. Each is a sign, not a verdict: the organiser decides.
enum class Concern {
  kNoStationWithLog,  // none of its QSOs is with a station that sent a log
  kFewConfirmed,      // the stations that sent logs hold far fewer of its QSOs than usual
  kSharesWithOther,   // most of its calls and times are another log's too
  kCallNotACall,      // its own call has a character no call has
  kCallTooLong,       // its own call is longer than any call
  kUnknownCategory,   // a category value or key the contest does not know
  kOffCategoryBand,   // QSOs on bands other than its single-band category's
  kBandsInOneMinute,  // one transmitter, yet QSOs on two bands within a minute
  kClaimedFarOff,     // the claimed score far from the score before the check
  kSentSerialsOff,    // its logged sent serials off from what its partners copied
};

// A log to look at, with the figures its concern rests on.
struct LogToLookAt {
  const CheckedLog* log = nullptr;
  Concern concern = Concern::kNoStationWithLog;
  // Its QSOs held (confirmed) or shared; a call's length; the score claimed.
  std::uint64_t count = 0;
  // Of its QSOs with stations that sent logs, or of all; the score.
  std::uint64_t of = 0;
  // kFewConfirmed: the contest's usual share, in per mille; kSharesWithOther:
  // none. kSharesWithOther: the other log.
  std::size_t usualPerMille = 0;
  const CheckedLog* other = nullptr;
  std::optional<SentSerialsOff> sentSerials;  // kSentSerialsOff: by how much, on whose copies
  std::string detail;  // kUnknownCategory: "CATEGORY-POWER: MEDIUM"; kOffCategoryBand: "20M"
};

// A claimed score further than this share from the score before the
// check, in per cent of the larger, is far off.
inline constexpr std::int64_t kClaimFarOffPerCent = 25;

// One transmitter's QSOs on two bands within one minute, this many times
// or more, are a sign of two: a band changed once within a minute is not.
inline constexpr std::size_t kFewestTwoBandMinutes = 3;

// The longest a call may be ("VP2E/SP5XYZ/MM" is 14).
inline constexpr std::size_t kLongestCall = 15;

// The logs of the check to look at, log by log in the order given, each
// with every concern it raises. A log needs this many QSOs to be judged
// on shares at all; a share below half the contest's usual (the median of
// the logs judged) is far below.
inline constexpr std::size_t kFewestQsosJudged = 10;
std::vector<LogToLookAt> LogsToLookAt(const std::vector<CheckedLog>& logs, const LogCheck& check);

}  // namespace zeltra::organiser
