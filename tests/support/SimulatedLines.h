#pragma once

#include "core/crosscheck/LogLines.h"
#include "support/SimulatedContest.h"

namespace zeltra::test {

// A simulated log's lines put into the check's lines, numbered from 1 after
// the lines already there; one that cannot be read, or that the contest
// does not count, only as evidence.
void AddSimulatedLines(LogLines& lines, const SimulatedLog& simulated);

}  // namespace zeltra::test
