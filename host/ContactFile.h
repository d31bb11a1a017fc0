#pragma once

// Contacts in a CSV file with a heading line and the log table's seven
// columns: CallSign,DigiBand,QSOMode,Continent,QSOReportRecived,DXCCPrefix,MainPrefix.

#include <filesystem>
#include <vector>

#include "LogDatabase.h"

namespace zeltra::host {

std::vector<LogRow> ReadContactFile(const std::filesystem::path& path);

}  // namespace zeltra::host
