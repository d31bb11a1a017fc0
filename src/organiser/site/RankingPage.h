#pragma once

#include <cstddef>
#include <ostream>

#include "organiser/site/SiteContents.h"

namespace zeltra::organiser {

// One page of a ranking, in the rankings' folder: its logs from
// page * kLogsPerPage on, and the way to the ranking's other pages and
// home.
void WriteRankingPage(std::ostream& out, const SiteContents& site, const Ranking& ranking,
                      std::size_t page);

}  // namespace zeltra::organiser
