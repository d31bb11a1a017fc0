#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "organiser/site/SiteContents.h"

namespace zeltra::organiser {

// A text in a table (a call, a category) shows this many characters; its
// entrant's page shows it whole.
inline constexpr std::size_t kLongestInTable = 40;

// A number in a cell of its own, right-aligned.
void WriteNumberCell(std::ostream& out, std::int64_t value);

// The call as a row's heading, linked to its page when it has one.
// toRoot: the way from the page drawn to the site's folder ("../").
void WriteCallCell(std::ostream& out, const SiteEntry& entry, std::string_view toRoot);

// A ranking's rows from first to end as a table: the place in the
// ranking, call, the score it is ranked by right after the call, so that
// a phone shows them before the table scrolls sideways, then the rest.
void WriteRankingTable(std::ostream& out, const Ranking& ranking, std::size_t first,
                       std::size_t end, bool checked, std::string_view toRoot);

}  // namespace zeltra::organiser
