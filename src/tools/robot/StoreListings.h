#pragma once

#include <ostream>
#include <string>

#include "tools/robot/store/StoreReader.h"

namespace zeltra::robot {

// The organiser's views of the records, written as they are read; every
// text from a client shown so that it cannot move a terminal's cursor.

// Uploads held, or a call's versions: one line each, with a heading line.
void WriteLogList(std::ostream& out, const std::vector<KeptLog>& logs);

// The mails not sent: one line each, waiting or given up and why, with a
// heading line.
void WriteMailList(std::ostream& out, const std::vector<UnsentMail>& mails);

// Every attempt, as CSV (a heading row) or as JSON ({"attempts": [...]}).
void WriteAttemptsCsv(std::ostream& out, const StoreReader& store);
void WriteAttemptsJson(std::ostream& out, const StoreReader& store);

}  // namespace zeltra::robot
