#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

namespace zeltra::tools {

// A UTC time as the options take it ("2026-12-06 12:00", "2026-12-06T1200",
// "2026-12-06"), as "YYYYMMDDHHMM"; none when it is not one.
std::optional<std::string> ContestTime(const std::string& text);

// The same as a CLI11 check: the option's text turned into "YYYYMMDDHHMM";
// any other text refused with an example. zeltra-score's --from and --to,
// zeltra-robot's and its deadline.
CLI::Validator UtcTimeOption();

}  // namespace zeltra::tools
