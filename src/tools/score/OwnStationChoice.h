#pragma once

#include "core/logfile/CountryFile.h"
#include "core/logscore/LogReading.h"
#include "core/scoring/Contact.h"
#include "tools/score/ScoreOptions.h"

namespace zeltra::score {

// The own station a log is scored for: --my-call, else the log's own call
// or MY_COUNTRY, placed by the country file; --my-continent and --my-dxcc
// override. Throws Unscorable saying what to give when it stays unknown.
// log: none for an ODBC table, which names no station.
OwnStation OwnStationFor(const ScoreOptions& options, const LogContents* log,
                         const CountryFile* countries);

}  // namespace zeltra::score
