#pragma once

#include <optional>
#include <string_view>

namespace zeltra {

// Why a scored QSO line cannot be judged by the check: each line needs a
// date and time, an exchange sent and one received.
enum class Unfit : unsigned char {
  kNone,        // it can be judged
  kNoTime,      // no date and time
  kBadTime,     // a date and time that cannot be
  kNoSent,      // no sent exchange
  kNoReceived,  // no received exchange
};

// The first of a line's wants: when, its date and time as logged (empty:
// none), and whether they are a time that can be.
inline Unfit UnfitBecause(std::string_view when, bool timeValid, std::string_view sent,
                          std::string_view received) {
  if (when.empty()) return Unfit::kNoTime;
  if (!timeValid) return Unfit::kBadTime;
  if (sent.empty()) return Unfit::kNoSent;
  if (received.empty()) return Unfit::kNoReceived;
  return Unfit::kNone;
}

}  // namespace zeltra
