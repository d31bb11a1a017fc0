#pragma once

#include "core/logfile/CountryFile.h"
#include "core/logscore/LogReading.h"
#include "core/scoring/Contact.h"
#include "organiser/reading/ReadSettings.h"

namespace zeltra::organiser {

// The own station a log is scored for: the call given, else the log's own
// call or MY_COUNTRY, placed by the country file; a continent or DXCC
// given overrides. Throws Unscorable saying what to give when it stays unknown.
// log: none for an ODBC table, which names no station.
OwnStation OwnStationFor(const GivenStation& given, const LogContents* log,
                         const CountryFile* countries);

}  // namespace zeltra::organiser
