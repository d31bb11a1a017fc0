#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/logfile/CountryFile.h"
#include "organiser/checking/CheckedLog.h"
#include "organiser/files/OutputFile.h"
#include "organiser/reading/Diagnostics.h"
#include "tools/score/ScoreOptions.h"

namespace zeltra::score {

// The files a run reads, the logs and the country file: no output may
// take their place.
organiser::InputFiles InputFilesOf(const std::vector<organiser::CheckedLog>& logs,
                                   const std::optional<std::string>& countryFile);

// The site's settings as the options give them, made now: the time of
// SOURCE_DATE_EPOCH when set (a site made again from the same logs is the
// same, byte for byte), else the clock's.
organiser::SiteSettings SiteSettingsOf(const ScoreOptions& options);

// The organiser's check of the folder --cross-check names: writes the
// results ranked by checked score to out, and the verdicts, summary,
// reports and site where asked. Answers the exit status.
int RunCrossCheck(const ScoreOptions& options, const CountryFile* countries, std::ostream& out,
                  organiser::Diagnostics& diagnostics);

}  // namespace zeltra::score
