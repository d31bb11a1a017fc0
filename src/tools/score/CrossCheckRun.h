#pragma once

#include <ostream>
#include <vector>

#include "core/logfile/CountryFile.h"
#include "tools/score/CheckedLog.h"
#include "tools/score/Diagnostics.h"
#include "tools/score/OutputFile.h"
#include "tools/score/ScoreOptions.h"

namespace zeltra::score {

// The files a run reads, the logs and the country file: no output may
// take their place.
ReadFiles FilesRead(const std::vector<CheckedLog>& logs, const ScoreOptions& options);

// The organiser's check: reads every log of the folder --cross-check names,
// checks each against the others, writes the results ranked by checked
// score to out, and the verdicts and reports where asked. Answers the exit
// status.
int RunCrossCheck(const ScoreOptions& options, const CountryFile* countries, std::ostream& out,
                  Diagnostics& diagnostics);

}  // namespace zeltra::score
