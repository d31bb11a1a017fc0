#pragma once

#include <cstddef>
#include <ostream>
#include <string_view>

#include "organiser/site/SiteContents.h"

namespace zeltra::organiser {

// The rows of the files received from row first to end (of the entries by
// call, then the files that are no log), as a table of call, file,
// categories, QSOs and what became of each. toRoot: the way from the page
// drawn to the site's folder ("../").
void WriteReceivedTable(std::ostream& out, const SiteContents& site, const std::string& caption,
                        const std::vector<std::size_t>& rows, std::string_view toRoot);

// One page of every file received, in the rankings' folder, linked to
// the pages beside it and home.
void WriteReceivedPage(std::ostream& out, const SiteContents& site, std::size_t page);

}  // namespace zeltra::organiser
