#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/crosscheck/Verdict.h"
#include "core/logscore/ContactList.h"
#include "core/logscore/LogScore.h"
#include "core/scoring/Contact.h"
#include "organiser/scoring/LogResult.h"

namespace zeltra::organiser {

// A line of a checked log that took no part in the check, and why: one
// that could not be read, or one the contest does not count.
struct LineNotChecked {
  std::size_t position = 0;
  std::string call;  // as far as it was read
  std::string band;
  std::string time;          // "2026-12-06 10:15"; empty when not known
  std::string_view verdict;  // "unreadable" or "left-out"
  std::string detail;        // why
};
inline constexpr std::string_view kUnreadable = "unreadable";
inline constexpr std::string_view kLeftOut = "left-out";

// One log of the organiser's check: as scored before the check, and what
// the check left of it.
struct CheckedLog {
  LogResult log;
  std::string notChecked;  // why it took no part; empty when it did
  std::string excluded;    // why the organiser keeps it out of the ranking; empty: ranked
  std::optional<std::size_t> checkIndex;  // its number in the check, while it takes part
  ContactList contacts;                   // as read, for the checked score
  OwnStation own;
  std::optional<char> voivodeship;  // a Polish station's, as most of its lines sent it
  std::array<std::size_t, kVerdictNames.size()> counts{};  // QSO lines by verdict
  std::optional<LogScore> checked;                         // the QSOs that stay, scored
  std::int64_t penaltyPoints = 0;                          // taken off for NILs and busted lines
  std::int64_t nilPenaltyPoints = 0;                       // of them, for NILs
  std::int64_t bustedPenaltyPoints = 0;                    // and for busted calls and exchanges
  std::int64_t clockOffset = 0;
  // Lines on bands other than a single-band category's: they count nothing.
  std::size_t offCategoryBand = 0;
  // Its lines that took no part, in the order of the file: each still has
  // its row among the verdicts.
  std::vector<LineNotChecked> notCheckedLines;
  // A station's logs checked as one are one entrant. The first in time
  // holds the station's figures (its scores before and after the check,
  // its lines by verdict, its penalties) and names the others; each other
  // names the first and has no row, place or page of its own.
  std::vector<const CheckedLog*> joined;
  const CheckedLog* joinedTo = nullptr;

  bool IsChecked() const { return checked.has_value(); }
  // Checked, not excluded, and not joined to another log of its station:
  // it takes a place.
  bool IsRanked() const { return IsChecked() && excluded.empty() && joinedTo == nullptr; }
  // Its file and those of the logs joined to it: "logs/a.log, logs/b.log".
  std::string Files() const;
  // The same, each file by its name alone: "a.log, b.log".
  std::string FileNames() const;
  std::size_t Count(Verdict verdict) const { return counts[static_cast<std::size_t>(verdict)]; }
  // The points that stay less the penalty, never below 0.
  std::int64_t CheckedPoints() const;
  std::int64_t CheckedScore() const { return CheckedPoints() * checked->Multipliers(); }
  // "ok", "N lines skipped", "not checked: reason", "excluded: reason" or
  // "failed: reason".
  std::string Status() const;
};

// The logs ranked by checked score, highest first (ties by call); then
// those scored but not ranked (not checked, or excluded), by score; then
// those that failed, in the order given; a log joined to another of its
// station has no row. byCategory: each category's logs together, categories in
// name order. Rank: each checked log's place (within its category), equal
// checked scores sharing one (1, 2, 2, 4).
struct RankedLog {
  const CheckedLog* log;
  std::optional<std::size_t> rank;
};
std::vector<RankedLog> RankedByCheckedScore(const std::vector<CheckedLog>& logs, bool byCategory);
// The same of some of the logs.
std::vector<RankedLog> RankedByCheckedScore(std::vector<const CheckedLog*> logs, bool byCategory);

// "2026-12-06 10:15" of minutes since 1970; the same put at text's end.
std::string TimeText(std::int64_t minute);
void AppendTimeText(std::string& text, std::int64_t minute);

// A clock offset said in words: "12 minutes fast", "1 minute slow", "right".
std::string ClockText(std::int64_t offset);

}  // namespace zeltra::organiser
