#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "organiser/results/RowSpool.h"
#include "organiser/scoring/LogResult.h"

namespace zeltra::organiser {

// Text goes to a terminal: every text from a log is shown by Printable.
// Each writer writes as it goes; a log's contacts (--contacts) come from
// the spool, by the log's order.

// One contact as each format lists it.
std::string ContactTextLine(const LogResult& log, const ContactRow& row);
std::string ContactCsvLine(const LogResult& log, const ContactRow& row);
std::string ContactJson(const ContactRow& row);  // at the depth JsonLogs copies rows

// One log as text: its contacts (when there are any), then the table and
// score line the statistics window shows, and the claim.
void WriteSingleLogText(std::ostream& out, const LogResult& log, const RowSpool& rows);

// The results ranked, one row per log: rank, call, categories, QSOs,
// points, multipliers, score, claimed score, difference, status.
void WriteResultsText(std::ostream& out, const std::vector<LogResult>& logs);

// The same rows as CSV, with the skipped and left-out counts, note and file:
// the columns of the JSON logs.
void WriteResultsCsv(std::ostream& out, const std::vector<LogResult>& logs);

// Every contact of every log as CSV, a row each, the logs ranked.
void WriteContactsCsv(std::ostream& out, const std::vector<LogResult>& logs, const RowSpool& rows);

// One JSON document whether one log is given or many:
// {"logs": [{rank, call, categories, qsos, points, multipliers, score,
// claimed, difference, skipped, leftOut, status, note, file, table,
// scoreLine[, contacts]}], "notScored": [{file, reason}]}. Texts are UTF-8;
// a text that is not is read as AsUtf8 reads it. rows: none without
// --contacts.
void WriteResultsJson(std::ostream& out, const std::vector<LogResult>& logs,
                      const std::vector<NotScored>& notScored, const RowSpool* rows);

}  // namespace zeltra::organiser
