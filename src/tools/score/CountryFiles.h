#pragma once

#include <optional>

#include "core/logfile/CountryFile.h"
#include "tools/score/ScoreOptions.h"

namespace zeltra::score {

// The country file --cty names; else cty.dat beside the program, else
// Debian's hamradio-files' one; none when there is none of these. Throws
// Unscorable naming the file when it is missing, no regular file, too
// large, unreadable or no country file: before any log is read.
std::optional<CountryFile> LoadCountries(const ScoreOptions& options);

}  // namespace zeltra::score
