#pragma once

#include <CLI/CLI.hpp>

namespace zeltra::score {

// A UTC time as the options take it ("2026-12-06 12:00", "2026-12-06T1200",
// "2026-12-06"), turned into "YYYYMMDDHHMM"; any other text refused with an
// example. zeltra-score's --from and --to, zeltra-robot's and its deadline.
CLI::Validator UtcTimeOption();

}  // namespace zeltra::score
