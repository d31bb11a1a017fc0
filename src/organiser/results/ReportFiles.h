#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/crosscheck/LogCheck.h"
#include "core/crosscheck/WhatStays.h"
#include "organiser/checking/CheckedLog.h"
#include "organiser/files/OutputFile.h"
#include "organiser/reading/Diagnostics.h"

namespace zeltra::organiser {

// Where the entrants' log-check reports go, and what they say of the rules.
struct ReportSettings {
  std::string folder;
  ScoringRules scores;   // as the check applied them
  std::size_t jobs = 1;  // reports made at once
};

// Writes each checked entrant's report, CALL.txt, into the folder (made
// when missing); one that cannot be written is said, and the others are
// written all the same. Throws OutputFailure when the folder cannot be
// made; false: a report was not written.
bool WriteReports(const ReportSettings& settings, const std::vector<CheckedLog>& logs,
                  const LogCheck& check, const InputFiles& reads, Diagnostics& diagnostics);

}  // namespace zeltra::organiser
