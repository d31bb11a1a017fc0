#pragma once

#include <ostream>

#include "tools/score/ScoreOptions.h"

namespace zeltra::score {

// Scores what options name, writes the results to out and every problem to
// errors, and answers the exit status. progressIsShown: errors is a
// terminal, so a batch may show its progress there.
int RunScore(const ScoreOptions& options, std::ostream& out, std::ostream& errors,
             bool progressIsShown);

}  // namespace zeltra::score
