#pragma once

#include <string>
#include <string_view>

#include "core/logscore/ProblemKind.h"

namespace zeltra::organiser {

// A sort of problem as the counts at the end of a run name it ("records
// skipped", "BAND and FREQ disagree"). positionWord: "record" or "line".
std::string ProblemKindText(ProblemKind kind, std::string_view positionWord);

}  // namespace zeltra::organiser
