#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "core/logfile/CountryFile.h"
#include "core/logscore/ContactList.h"

namespace zeltra {

// Something wrong with one line or record of a log.
struct LogProblem {
  std::size_t position;  // line (Cabrillo) or record (ADIF) number
  std::string message;
};

// What a log file holds, as contacts ready to score.
struct LogContents {
  ContactList contacts;
  std::vector<LogProblem> skipped;   // lines or records not scored
  std::vector<LogProblem> warnings;  // scored all the same
  bool stopped = false;              // strict reading stopped at the first skipped one
  // The own station as the log names it, if it does.
  std::optional<std::string> ownCall;
  std::optional<std::string> ownCountry;  // ADIF MY_COUNTRY
  // Cabrillo's header: the categories and the claimed score.
  std::string categories;
  std::optional<std::string> claimedScore;
};

struct ReadOptions {
  const CountryFile* countries = nullptr;  // for contacts without CONT or COUNTRY
  bool strict = false;                     // stop at the first record that cannot be scored
};

// ADIF: the band from BAND or else FREQ (a disagreement is a warning); the
// received report from SRX_STRING, else RST_RCVD and STATE; the continent
// and DXCC prefix from CONT and COUNTRY, else from the call sign.
LogContents ReadAdifLog(std::istream& in, const ReadOptions& options);

// Cabrillo: the band from the frequency, the received exchange as the
// report, the continent and DXCC prefix from the call sign.
LogContents ReadCabrilloLog(std::istream& in, const ReadOptions& options);

}  // namespace zeltra
