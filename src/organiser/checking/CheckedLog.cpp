#include "organiser/checking/CheckedLog.h"

#include <algorithm>
#include <array>
#include <tuple>

#include "core/text/UtcMinute.h"
#include "organiser/files/FileNames.h"
#include "organiser/scoring/Places.h"

namespace zeltra::organiser {

std::int64_t CheckedLog::CheckedPoints() const {
  return std::max<std::int64_t>(0, checked->points - penaltyPoints);
}

std::string CheckedLog::Files() const {
  std::string files = log.file;
  for (const CheckedLog* other : joined) files += ", " + other->log.file;
  return files;
}

std::string CheckedLog::FileNames() const {
  std::string files = FileNameOf(log.file);
  for (const CheckedLog* other : joined) files += ", " + FileNameOf(other->log.file);
  return files;
}

std::string CheckedLog::Status() const {
  if (joinedTo != nullptr) return "checked as one station with " + FileNameOf(joinedTo->log.file);
  if (!log.Failed() && !notChecked.empty()) return "not checked: " + notChecked;
  if (!log.Failed() && !excluded.empty()) return "excluded: " + excluded;
  return log.Status();
}

std::vector<RankedLog> RankedByCheckedScore(const std::vector<CheckedLog>& logs, bool byCategory) {
  std::vector<const CheckedLog*> order;
  for (const CheckedLog& log : logs) order.push_back(&log);
  return RankedByCheckedScore(std::move(order), byCategory);
}

std::vector<RankedLog> RankedByCheckedScore(std::vector<const CheckedLog*> order, bool byCategory) {
  std::erase_if(order, [](const CheckedLog* log) { return log->joinedTo != nullptr; });
  // Checked first, then scored, then failed; each by its score.
  const auto standing = [](const CheckedLog* log) {
    return log->IsRanked() ? 0 : !log->log.Failed() ? 1 : 2;
  };
  const auto score = [](const CheckedLog* log) -> std::int64_t {
    if (log->IsChecked()) return log->CheckedScore();
    return log->log.Failed() ? 0 : log->log.score->Score();
  };
  std::stable_sort(order.begin(), order.end(), [&](const CheckedLog* a, const CheckedLog* b) {
    if (byCategory && a->log.categories != b->log.categories)
      return a->log.categories < b->log.categories;
    if (standing(a) != standing(b)) return standing(a) < standing(b);
    if (standing(a) == 2) return false;
    return std::make_tuple(-score(a), a->log.callSign) <
           std::make_tuple(-score(b), b->log.callSign);
  });
  std::vector<RankedLog> ranked;
  Places places;
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (byCategory && i > 0 && order[i]->log.categories != order[i - 1]->log.categories)
      places = Places();
    ranked.push_back({order[i], std::nullopt});
    if (order[i]->IsRanked()) ranked.back().rank = places.Next(order[i]->CheckedScore());
  }
  return ranked;
}

std::string ClockText(std::int64_t offset) {
  if (offset == 0) return "right";
  const std::int64_t minutes = offset < 0 ? -offset : offset;
  return std::to_string(minutes) + (minutes == 1 ? " minute " : " minutes ") +
         (offset > 0 ? "fast" : "slow");
}

void AppendTimeText(std::string& text, std::int64_t minute) {
  constexpr std::size_t kDigits = 12;  // YYYYMMDDHHMM
  const std::string digits = UtcMinuteText(minute);
  if (digits.size() != kDigits) {
    text += digits.substr(0, 4) + "-" + digits.substr(4, 2) + "-" + digits.substr(6, 2) + " " +
            digits.substr(8, 2) + ":" + digits.substr(10, 2);
    return;
  }
  // "YYYY-MM-DD HH:MM", each digit put in its place: a time is written for
  // every line.
  constexpr std::string_view kShape = "0000-00-00 00:00";
  constexpr std::array<std::size_t, kDigits> kPlaces = {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15};
  const std::size_t at = text.size();
  text += kShape;
  for (std::size_t i = 0; i < kDigits; ++i) text[at + kPlaces[i]] = digits[i];
}

std::string TimeText(std::int64_t minute) {
  std::string text;
  AppendTimeText(text, minute);
  return text;
}

}  // namespace zeltra::organiser
