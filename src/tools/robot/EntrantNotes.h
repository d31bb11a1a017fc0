#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/logscore/LogReading.h"

namespace zeltra::robot {

// The contest period as an entrant reads it: "2026-12-05 00:00" (UTC).
struct ShownPeriod {
  std::optional<std::string> from;
  std::optional<std::string> to;
};

// What an entrant should know of a log just read, in an entrant's words,
// never an option's name: warnings and lines or records skipped (the first
// few, then how many more), and the contacts the contest does not count,
// by reason, with the period's times. positionWord: "line" or "record".
std::vector<std::string> EntrantNotes(const LogContents& log, const std::string& positionWord,
                                      const ShownPeriod& period);

// "2026-12-05 00:00" from an option's "202612050000"; other text as it is.
std::string ShownTime(const std::string& compact);

}  // namespace zeltra::robot
