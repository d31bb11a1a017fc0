#pragma once

#include <string>

#include "core/logscore/LogActivity.h"
#include "organiser/site/SvgCharts.h"

namespace zeltra::organiser {

// The most hours a chart of QSOs per hour shows: a contest and a day
// either side of it, whatever dates a log holds.
inline constexpr std::size_t kChartHours = 72;

// QSOs per hour, each hour's bands stacked, over the busiest hours.
ColumnChart HourChart(const LogActivity& activity, std::string id, std::string title);

// The QSOs made so far, hour by hour, over the same hours.
ColumnChart QsosSoFarChart(const LogActivity& activity, std::string id, std::string title);

// The QSOs of each band.
ColumnChart BandChart(const LogActivity& activity, std::string id, std::string title);

}  // namespace zeltra::organiser
