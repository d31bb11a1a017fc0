#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/logscore/LogActivity.h"
#include "core/logscore/LogReading.h"
#include "core/logscore/LogScore.h"
#include "core/scoring/Contact.h"
#include "organiser/reading/Categories.h"
#include "organiser/reading/LogFolder.h"

namespace zeltra::organiser {

// One contact as --contacts shows it: scored, a duplicate, or left out.
struct ContactRow {
  std::size_t position = 0;  // its line or record number
  std::string call;
  std::string band;
  std::string mode;
  std::string continent;
  std::string dxcc;
  std::optional<std::int32_t> points;  // none: a duplicate or left out
  bool duplicate = false;
  std::string multipliers;  // those it brought, by name, blank-separated
  std::string leftOut;      // why it does not count; empty when it does
};

// A claim above this is no score a log could make: "not a number".
inline constexpr long long kLargestClaim = 1'000'000'000'000'000LL;

// One log's result, or why it has none.
struct LogResult {
  std::string file;
  std::string positionWord = "record";  // "record" (ADIF) or "line" (Cabrillo)
  std::string callSign;
  std::string categories;              // the category it is ranked in, as Ranked() gives it
  DeclaredCategories declared;         // every category its header declares
  std::optional<LogScore> score;       // none: the log failed
  std::string failure;                 // why it failed
  bool notALog = false;                // failed: the file is no log
  bool stopped = false;                // failed: --strict stopped at a bad record
  bool noOwnStation = false;           // failed: the log names no own station
  bool tooLarge = false;               // failed: its text is past the bound
  std::optional<std::string> claimed;  // as the log's header states it
  std::optional<long long> claimedNumber;
  std::size_t skipped = 0;
  std::size_t leftOut = 0;
  std::string note;       // e.g. another log of the same call in the batch
  std::size_t order = 0;  // its place among the logs given: its rows' number in a RowSpool
  // With --site: what the entrant's page tells beyond the score.
  OwnStation own;
  StationHeader station;
  LogActivity activity;

  bool Failed() const { return !score.has_value(); }
  // "ok", "N records skipped", or "failed: reason".
  std::string Status() const;
  // The claimed score less the score; none without a claim that is a number.
  std::optional<long long> Difference() const;
  bool ClaimDiffers() const { return claimed && Difference().value_or(1) != 0; }
};

// The logs ranked: by score, highest first (ties by call sign), the logs
// that failed last in the order given.
std::vector<const LogResult*> Ranked(const std::vector<LogResult>& logs);

}  // namespace zeltra::organiser
