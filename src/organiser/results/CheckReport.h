#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/crosscheck/LogCheck.h"
#include "core/crosscheck/WhatStays.h"
#include "organiser/checking/CheckedLog.h"

namespace zeltra::organiser {

// A line of another log that copied an entrant's call or exchange wrongly.
struct CopyByOther {
  std::string station;  // whose log
  std::string where;    // "line 12"
  std::string band;
  std::int64_t minute = 0;
  std::string copied;  // the call or the exchange as that log has it
  std::string sent;    // the exchange the entrant sent
};

struct CopiesOfEntrant {
  std::vector<CopyByOther> calls;
  std::vector<CopyByOther> exchanges;
};

// For each log in the check, by its number there: how others copied it.
std::vector<CopiesOfEntrant> CopiesByOthers(const std::vector<CheckedLog>& logs,
                                            const LogCheck& check);

// How many logs hold a line with each call worked, by the check's number
// of the call (LogCheck::LogsHoldingEachCall).
using LogsHolding = std::vector<std::uint32_t>;

// For each log in the check, by its number there: what its positions
// count, "line" (Cabrillo) or "record" (ADIF).
using PositionWords = std::vector<std::string_view>;
PositionWords PositionWordsOf(const std::vector<CheckedLog>& logs, const LogCheck& check);

// A NIL's nearest line in the other log: "logged you at 2026-12-06 10:31
// on 14 MHz (line 12)"; word: what the other log's positions count.
std::string NearestText(const CheckedQso::Nearest& nearest, std::string_view word);

// An unchecked line's answer that could not be read whole, "their line 12
// could not be read", or that the contest does not count, "their line 12
// is left out".
std::string UnreadableAnswerText(std::size_t position, std::string_view word, bool leftOut);

// What was found of an error of one side of a QSO, from this line's side:
// "your band: their line 12 is on another band, as are your lines around
// it", "their clock: 12 hours fast against their line 12", "your sent
// serial: 1 above what was copied in their line 12, as other stations
// copied it". word: what the other log's positions count.
std::string FaultText(const CheckedQso& qso, std::string_view word);
// A log's sent serials found off, whose ("your", "its") they are: "your
// logged sent serials are 1 above what 10 stations copied".
std::string SentSerialsOffText(std::string_view whose, const SentSerialsOff& off);

// A line's detail as the verdicts give it: an error of one side, a NIL's
// nearest line, an
// unchecked line's answer, how the other log has this station's call
// where it differs ("logged you as SP1AAA/P"), or what the check says.
std::string DetailText(const CheckedQso& qso, const PositionWords& words);

// A share in per cent with one decimal: "12.5 %".
std::string PerCent(std::int64_t part, std::int64_t whole);

// One part of a report: a title, and its lines as rows under headings.
struct ReportTable {
  std::string title;
  std::vector<std::string> headings;
  std::vector<std::vector<std::string>> rows;
};

// The log-check report an entrant reads, worded but not laid out: the
// scores, the clock, every line the check removed or doubted, and how the
// others copied this station. Its texts are printable; a page that shows
// them still escapes them. The report file and the entrant's web page both
// draw it.
struct CheckReport {
  std::string call;
  std::string file;
  std::size_t otherLogs = 0;
  std::vector<std::pair<std::string, std::string>> scores;  // label, value
  std::string clock;                                        // "8 minutes fast, from 41 QSOs ..."
  // "your logged sent serials are 1 above what 10 stations copied; ...";
  // empty when they were found right.
  std::string sentSerials;
  std::string lineCounts;  // "QSO lines: 120: ok 100, ..."
  std::vector<ReportTable> sections;
};

CheckReport CheckReportOf(const CheckedLog& log, const LogCheck& check,
                          const std::vector<CopiesOfEntrant>& copies, const LogsHolding& holding,
                          const PositionWords& words, const ScoringRules& rules);

// The report as a text file, with the checked score's table by band.
std::string CheckReportText(const CheckReport& report, const LogScore& checked);

}  // namespace zeltra::organiser
