#pragma once

#include <string>
#include <vector>

#include "tools/score/Diagnostics.h"
#include "tools/score/LogScorer.h"
#include "tools/score/ResultsOutput.h"

namespace zeltra::score {

// The logs to score: files as given, folders opened in name order; what a
// folder holds that is no log file (hidden, a folder, a device) is listed
// in notScored.
std::vector<LogFile> LogFiles(const std::vector<std::string>& inputs,
                              std::vector<NotScored>& notScored);

// "zeltra-score: no log to score in INPUT, ..." on the diagnostics.
void TellNoLog(const std::vector<std::string>& inputs, Diagnostics& diagnostics);

// "Not scored: FILE (REASON), ..." on the diagnostics, when any was not.
void TellNotScored(const std::vector<NotScored>& notScored, Diagnostics& diagnostics);

}  // namespace zeltra::score
