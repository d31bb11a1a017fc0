#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/logfile/CountryFile.h"
#include "tools/robot/UploadStore.h"
#include "tools/score/ScoreOptions.h"

namespace zeltra::robot {

// HTTP's words for a log refused for what it holds, and for its size.
inline constexpr int kUnprocessable = 422;
inline constexpr int kTooLarge = 413;

// A log that can be taken: what it holds, and what the entrant should know
// of it (lines skipped, contacts left out).
struct Acceptable {
  LogFacts facts;
  std::vector<std::string> warnings;
};

// A log refused: the status, and the reasons an entrant can act on.
struct Refused {
  int status = kUnprocessable;
  std::vector<std::string> errors;
};

// Reads an upload as zeltra-score reads a log (ADIF, Cabrillo, ADX, UTF-16,
// gzip), through a file of its own in scratch that is gone afterwards.
// Refused: not a log, no own call, nothing the contest scores, or text
// past options.largestText once unpacked.
std::variant<Acceptable, Refused> CheckUpload(std::string_view bytes,
                                              const std::filesystem::path& scratch,
                                              const score::ScoreOptions& options,
                                              const CountryFile* countries);

// SHA-256 of bytes, in lower-case hex.
std::string Sha256(std::string_view bytes);

}  // namespace zeltra::robot
