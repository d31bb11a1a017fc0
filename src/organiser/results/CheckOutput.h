#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/crosscheck/LogCheck.h"
#include "organiser/checking/CheckedLog.h"
#include "organiser/results/CheckReport.h"
#include "organiser/results/CheckSummary.h"
#include "organiser/results/OutputSettings.h"
#include "organiser/results/ResultsOutput.h"

namespace zeltra::organiser {

// The results of the check, ranked by checked score (within each category
// with --by-category), in the form --format asks: Rank, Call, Categories,
// QSOs, Claimed, Score (before the check), Checked, NIL, Busted calls,
// Busted exchanges, Uniques, Clock, File, Status.
// JSON adds the contest's summary after the logs.
void WriteCheckResults(std::ostream& out, const std::vector<CheckedLog>& logs,
                       const std::vector<NotScored>& notScored, const CheckSummary& summary,
                       const OutputSettings& settings);

inline constexpr std::string_view kVerdictsHeading =
    "log,line,call,band,time,verdict,detail,partner_log,partner_line\n";

// One log's rows of WriteVerdictsCsv, its lines in the order of its file:
// none for a log that took no part and set no line aside.
std::string VerdictRowsOf(const CheckedLog& log, const LogCheck& check, const PositionWords& words);

// One row per QSO line of every checked log, in the order of the logs and
// their lines: log,line,call,band,time,verdict,detail,partner_log,
// partner_line (the line of the other log that answers it, if one does),
// written log by log.
// jobs: the threads that may make them.
void WriteVerdictsCsv(std::ostream& out, const std::vector<CheckedLog>& logs, const LogCheck& check,
                      std::size_t jobs);

}  // namespace zeltra::organiser
