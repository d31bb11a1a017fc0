#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "core/logscore/LogReading.h"
#include "core/logscore/LogScore.h"
#include "organiser/scoring/LogResult.h"

namespace zeltra::organiser {

// The multipliers a contact brought, by name: "voivodeship dxcc continent".
std::string Multipliers(const ContactOutcome& outcome);

// A replayed contact as --contacts shows it.
ContactRow RowOf(const ContactOutcome& outcome);

// A contact's reason as --contacts shows it: "mode FT8", "band 50",
// "before --from".
std::string LeftOutText(const LeftOutReason& reason);

// "3 contacts in FT8, 1 in CW and 2 on 50 MHz left out": the reasons in
// the order first met, the first few of them by name and the rest counted.
std::string LeftOutSummary(const std::vector<std::pair<LeftOutReason, std::size_t>>& reasons);

}  // namespace zeltra::organiser
