#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "core/reload/LogQuery.h"
#include "core/scoring/Contact.h"
#include "core/scoring/Scorer.h"
#include "core/scoring/StatisticTable.h"

namespace zeltra {

// What the reload asks of the one who runs it.
struct ReloadHooks {
  std::function<void()> pumpMessages;  // let the window messages already pending run once
  // After each row: the contact and what the scorer answered for it (its
  // points, or kDuplicate).
  std::function<void(const Contact&, std::int32_t)> replayed;
};

// Throws away every statistic and rebuilds them by replaying each row of
// the host's log table, in the query's order, through the scorer as a
// contact of the own station. Blanks the table's data cells; the caller
// fills them afterwards. A DatabaseError ends it where it occurs: what was
// rebuilt up to that row stays.
void ReloadLog(LogQuery& query, std::string_view tableName, const OwnStation& own, Scorer& scorer,
               StatisticTable& table, const ReloadHooks& hooks);

}  // namespace zeltra
