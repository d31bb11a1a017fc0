#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/logfile/CountryFile.h"
#include "organiser/reading/ReadSettings.h"
#include "tools/robot/store/KeptLog.h"

namespace zeltra::robot {

// HTTP's words for a log refused for what it holds, and for its size.
inline constexpr int kUnprocessable = 422;
inline constexpr int kTooLarge = 413;

// A log that can be taken: what it holds, and what the entrant should know
// of it (lines skipped, contacts left out).
struct Acceptable {
  LogFacts facts;
  std::vector<std::string> warnings;
  std::optional<std::string> email;  // the log's EMAIL:, for its receipt
};

// A log refused: the status, and the reasons an entrant can act on.
struct Refused {
  int status = kUnprocessable;
  std::vector<std::string> errors;
  std::string call;  // the own call the log names, if any, as it names it
};

// Reads an upload's file (its SHA-256 known) as zeltra-score reads a log
// (ADIF, Cabrillo, ADX, UTF-16, gzip). Refused: not a log, no own call or
// one that is no call sign, a CONTEST: that names none of contests (when
// there are any; the names compared by their letters and digits), nothing
// the contest scores, or text past reading.largestText once unpacked.
std::variant<Acceptable, Refused> CheckUpload(const std::filesystem::path& file,
                                              const std::string& sha256,
                                              const organiser::ReadSettings& reading,
                                              const std::vector<std::string>& contests,
                                              const CountryFile* countries);

// An own call the robot takes: 3 to 20 ASCII letters, digits and '/', at
// least one letter and one digit.
bool IsCallSign(std::string_view call);

}  // namespace zeltra::robot
