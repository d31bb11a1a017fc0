#pragma once

#include <ostream>

#include "organiser/site/SiteContents.h"

namespace zeltra::organiser {

// The site's results as CSV to download, one row a log in the order of
// the overall results: Rank,Call,Categories,Category rank,QSOs,Claimed,
// Score,Checked score,NIL,Busted calls,Busted exchanges,Uniques,Status,
// File. A log's file by its name alone; the check's columns empty without
// the check; every field as CsvField makes it (no formula a spreadsheet
// would run).
void WriteResultsCsv(std::ostream& out, const SiteContents& site);

}  // namespace zeltra::organiser
