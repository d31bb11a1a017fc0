#pragma once

#include <string>
#include <vector>

#include "core/crosscheck/LogCheck.h"
#include "organiser/checking/CheckedLog.h"
#include "organiser/files/OutputFile.h"
#include "organiser/reading/Diagnostics.h"
#include "organiser/results/CheckSummary.h"
#include "organiser/scoring/LogResult.h"
#include "organiser/site/SiteSettings.h"

namespace zeltra::organiser {

// What the site is made from. check and summary: none for a batch of logs
// scored without the log check.
struct SiteSources {
  const std::vector<CheckedLog>& logs;
  const std::vector<NotScored>& notScored;
  const LogCheck* check = nullptr;
  const CheckSummary* summary = nullptr;
};

// Writes the results as a static site into the settings' folder:
// entrants/NAME.html for each log that was scored, NAME made from its call
// as the reports' names are (and NAME.csv, its lines with their verdicts),
// each ranking whole on its pages in results/, results.csv, then
// index.html; then the pages of entrants
// no longer in the results are removed. Each page is written whole or not
// at all, never through a link planted in the folder; a page that cannot
// be written is told and the others are written all the same. A run that
// ranks no log leaves a site already there as it was, and says so. Throws
// OutputFailure when the folder cannot be made or the home page not
// written; false: an entrant's page was not written.
bool WriteResultsSite(const SiteSettings& settings, const SiteSources& sources,
                      const InputFiles& reads, Diagnostics& diagnostics);

// A batch's results made ready for the site, as logs not checked.
std::vector<CheckedLog> UncheckedLogs(const std::vector<LogResult>& results);

}  // namespace zeltra::organiser
