#pragma once

#include <optional>
#include <string>

#include "core/logfile/CountryFile.h"

namespace zeltra::organiser {

// The country file named; else cty.dat in programFolder (when given), else
// Debian's hamradio-files' one; none when there is none of these. Throws
// Unscorable naming the file when it is missing, no regular file, too
// large, unreadable or no country file: before any log is read.
std::optional<CountryFile> LoadCountries(const std::optional<std::string>& named,
                                         const std::string& programFolder);

}  // namespace zeltra::organiser
