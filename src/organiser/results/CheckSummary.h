#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/crosscheck/LogCheck.h"
#include "organiser/checking/CheckedLog.h"
#include "organiser/checking/LogsToLookAt.h"

namespace zeltra::organiser {

// The check of the whole contest, for the organiser: how often each call
// was copied wrongly in other logs, the NILs each station caused in other
// logs, the clocks found off, and the lines by verdict.
struct CheckSummary {
  struct CallCount {
    std::string call;
    std::size_t count = 0;
  };
  struct Clock {
    std::string call;
    std::int64_t offset = 0;
    std::size_t pairs = 0;
    std::size_t agreeing = 0;
  };
  std::vector<CallCount> copiedWrongly;  // most first, ties by call
  std::vector<CallCount> nilsCaused;     // most first, ties by call
  // Calls that at least kManyLogs logs worked but that sent no log, with
  // how many logs worked them: most first, ties by call.
  std::vector<CallCount> missingLogs;
  std::vector<Clock> clocksOff;  // by call
  std::array<std::size_t, kVerdictNames.size()> verdicts{};
  std::size_t unreadable = 0;
  std::size_t leftOut = 0;
  // Logs of one station that overlap in time, each said with the one checked.
  std::vector<std::string> overlappingLogs;
  std::vector<LogToLookAt> logsToLookAt;  // log by log, as the check has them
};

// Why a log is to be looked at, in words, with its figures: "none of its
// 400 QSOs is with a station that sent a log".
std::string LookAtText(const LogToLookAt& entry);
// Its concern as a word for machines: "no-station-with-log".
std::string_view ConcernName(Concern concern);

inline constexpr std::size_t kManyLogs = 3;

CheckSummary SummaryOf(const std::vector<CheckedLog>& logs, const LogCheck& check);

// The summary as text an organiser reads.
void WriteSummaryText(std::ostream& out, const CheckSummary& summary);

}  // namespace zeltra::organiser
