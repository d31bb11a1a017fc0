#pragma once

#include <ostream>

#include "organiser/site/SiteContents.h"

namespace zeltra::organiser {

// The site's home page: the results overall and by category, the leaders
// by continent and country, the contest's activity, the log check's
// summary, and every log received with what became of it.
void WriteIndexPage(std::ostream& out, const SiteContents& site);

}  // namespace zeltra::organiser
