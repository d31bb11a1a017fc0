#pragma once

#include <functional>

#include "core/host/HostRecords.h"
#include "core/reload/LogQuery.h"
#include "core/scoring/Scorer.h"
#include "core/scoring/StatisticTable.h"

namespace zeltra {

// What the reload asks of the window it runs in.
struct ReloadHooks {
  std::function<void()> showDXList;    // the band sync, before the first row
  std::function<void()> pumpMessages;  // let the window messages already pending run once
};

// Throws away every statistic and rebuilds them by replaying each contact of
// the host's log table (TableName of current) through the scorer, using
// current as the row buffer. Blanks the table's data cells; the caller fills
// them afterwards. A DatabaseError ends it where it occurs: what was rebuilt
// up to that row stays, and current's Band keeps the last row's text.
void ReloadLog(TQSOData& current, LogQuery& query, Scorer& scorer, StatisticTable& table,
               const ReloadHooks& hooks);

}  // namespace zeltra
