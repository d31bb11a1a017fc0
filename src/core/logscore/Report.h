#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/logscore/LogScore.h"
#include "core/scoring/StatisticTable.h"

namespace zeltra {

// The statistics table as text: one line per row, the columns aligned, the
// band column to the left and the numbers to the right.
std::string TableText(const StatisticTable& table);

// The same table as CSV lines, and as a JSON array of rows.
std::string TableCsv(const StatisticTable& table);
std::string TableJson(const StatisticTable& table);

// Text as a JSON string, quotes and control characters escaped; bytes 0x80
// and above, which single-byte logs hold, as \u00XX.
std::string JsonString(std::string_view text);
// Text as a CSV field, quoted when it must be.
std::string CsvField(std::string_view text);

// One log's line in the organiser's results.
struct RankedLog {
  std::string file;
  std::string callSign;
  std::string categories;
  LogScore score;
  std::optional<std::string> claimed;  // as the log's header states it
  std::size_t skipped = 0;
};

// The claimed score as a number, when it is one.
std::optional<long long> ClaimedNumber(const std::optional<std::string>& claimed);

// The results ranked by score, highest first (ties by call sign), as text,
// CSV or JSON: rank, call sign, categories, contacts, points, multipliers,
// score, claimed score, difference (claimed minus score), file.
std::vector<const RankedLog*> Ranked(const std::vector<RankedLog>& logs);
std::string ResultsText(const std::vector<RankedLog>& logs);
std::string ResultsCsv(const std::vector<RankedLog>& logs);
std::string ResultsJson(const std::vector<RankedLog>& logs);

}  // namespace zeltra
