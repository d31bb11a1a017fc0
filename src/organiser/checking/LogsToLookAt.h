#pragma once

#include <cstddef>
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
};

// A log to look at, with the figures its concern rests on.
struct LogToLookAt {
  const CheckedLog* log = nullptr;
  Concern concern = Concern::kNoStationWithLog;
  std::size_t count = 0;  // its QSOs held (confirmed) or shared; a call's length
  std::size_t of = 0;     // of its QSOs with stations that sent logs, or of all
  // kFewConfirmed: the contest's usual share, in per mille; kSharesWithOther:
  // none. kSharesWithOther: the other log.
  std::size_t usualPerMille = 0;
  const CheckedLog* other = nullptr;
};

// The longest a call may be ("VP2E/SP5XYZ/MM" is 14).
inline constexpr std::size_t kLongestCall = 15;

// The logs of the check to look at, log by log in the order given, each
// with every concern it raises. A log needs this many QSOs to be judged
// on shares at all; a share below half the contest's usual (the median of
// the logs judged) is far below.
inline constexpr std::size_t kFewestQsosJudged = 10;
std::vector<LogToLookAt> LogsToLookAt(const std::vector<CheckedLog>& logs, const LogCheck& check);

}  // namespace zeltra::organiser
