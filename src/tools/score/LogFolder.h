#pragma once

#include <string>
#include <vector>

#include "tools/score/LogScorer.h"
#include "tools/score/ResultsOutput.h"

namespace zeltra::score {

// The logs to score: files as given, folders opened in name order; what a
// folder holds that is no log file (hidden, a folder, a device) is listed
// in notScored.
std::vector<LogFile> LogFiles(const std::vector<std::string>& inputs,
                              std::vector<NotScored>& notScored);

}  // namespace zeltra::score
