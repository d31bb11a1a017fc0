#pragma once

#include <string>
#include <vector>

#include "core/crosscheck/LogCheck.h"
#include "core/logfile/CountryFile.h"
#include "organiser/checking/CheckSettings.h"
#include "organiser/checking/CheckedLog.h"
#include "organiser/reading/Diagnostics.h"
#include "organiser/scoring/BatchSettings.h"

namespace zeltra::organiser {

// What the check of a folder leaves: every log as scored and checked, the
// files that were not scored, and the logs set aside for a later one of
// their station, each said.
struct CheckOutcome {
  std::vector<CheckedLog> logs;
  std::vector<NotScored> notScored;
  std::vector<std::string> overlapping;
};

// The organiser's check: reads every log of the folder the settings name
// (batch: how each is read, and on how many threads) into check, runs it,
// sets aside a log that a later one of its station overlaps, and scores
// what stays of each. Problems are told on the diagnostics as they come.
CheckOutcome CheckFolder(const CheckSettings& settings, const BatchSettings& batch,
                         const CountryFile* countries, LogCheck& check, Diagnostics& diagnostics);

}  // namespace zeltra::organiser
