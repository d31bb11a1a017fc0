#pragma once

#include "core/records/HostRecords.h"
#include "core/scoring/Contact.h"
#include "core/session/ContestSession.h"

namespace zeltra {

// The contact the host's record describes, and the own station it names:
// taken once per call, at the boundary.
Contact ContactOf(const TQSOData& record);
OwnStation OwnStationOf(const TQSOData& record);
// What a recalculation reads from the record: its table, own station and band.
LogSource LogSourceOf(const TQSOData& record);

}  // namespace zeltra
