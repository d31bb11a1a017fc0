#pragma once

#include <optional>
#include <ostream>

#include "organiser/results/CheckReport.h"
#include "organiser/site/SiteContents.h"

namespace zeltra::organiser {

// An entrant's page: the station as its header tells it, the scores and
// the table by band, its rate, charts of its log, the whole log-check
// report (report: none without the check, or for a log not checked), and
// its soapbox. Pages sit one folder below the home page.
void WriteEntrantPage(std::ostream& out, const SiteEntry& entry, const SiteContents& site,
                      const std::optional<CheckReport>& report);

}  // namespace zeltra::organiser
