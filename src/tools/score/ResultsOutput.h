#pragma once

#include <string>
#include <vector>

#include "tools/score/LogResult.h"

namespace zeltra::score {

// Text goes to a terminal: every text from a log is shown by Printable.

// One log as text: with --contacts a line per contact, then the table and
// score line the statistics window shows, and the claim.
std::string SingleLogText(const LogResult& log, bool contacts);

// The results ranked, one row per log: rank, call, categories, QSOs,
// points, multipliers, score, claimed score, difference, status.
std::string ResultsText(const std::vector<LogResult>& logs);

// The same rows as CSV, with the skipped and left-out counts, note and file:
// the columns of ResultsJson's logs.
std::string ResultsCsv(const std::vector<LogResult>& logs);

// Every contact of every log as CSV, a row each.
std::string ContactsCsv(const std::vector<LogResult>& logs);

// One JSON document whether one log is given or many:
// {"logs": [{rank, call, categories, qsos, points, multipliers, score,
// claimed, difference, skipped, leftOut, status, note, file, table,
// scoreLine[, contacts]}], "notScored": [{file, reason}]}. Texts are UTF-8;
// bytes that are not UTF-8 are read as Latin-1.
std::string ResultsJson(const std::vector<LogResult>& logs, const std::vector<NotScored>& notScored,
                        bool contacts);

}  // namespace zeltra::score
