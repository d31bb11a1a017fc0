#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace zeltra {

// What the log check found of one QSO line.
enum class Verdict : unsigned char {
  kOk,              // the other log holds it, exchange as sent
  kDupe,            // the same call, band and mode as an earlier line: not counted
  kNil,             // the other station sent a log without it
  kBustedCall,      // another station, one slip from the call logged, holds it
  kBustedExchange,  // the other log holds it, but not the exchange it sent
  kUnchecked,       // no log of the call, but other logs hold it
  kUnique,          // no log of the call, and no other log holds it
};

inline constexpr std::array<std::string_view, 7> kVerdictNames = {
    "ok", "dupe", "nil", "busted-call", "busted-exchange", "unchecked", "unique"};

inline std::string_view VerdictName(Verdict verdict) {
  return kVerdictNames[static_cast<std::size_t>(verdict)];
}

// An error of one side of a QSO that both logged, found on the evidence of
// that side's other lines and of other logs: that side's line loses the
// QSO, the other side's keeps it.
enum class Fault : unsigned char {
  kNone,
  kBand,        // logged on another band than its neighbours and the other side
  kClock,       // a stretch of the log whole hours off the other logs
  kSentSerial,  // the serial logged as sent is off from what several copiers copied
};

}  // namespace zeltra
