#include "core/text/UtcMinute.h"

#include <chrono>

#include "core/text/Ascii.h"

namespace zeltra {
namespace {

constexpr std::int64_t kMinutesPerHour = 60;
constexpr std::int64_t kMinutesPerDay = 24 * kMinutesPerHour;
constexpr int kHoursPerDay = 24;

int Digits(std::string_view text, std::size_t from, std::size_t count) {
  int value = 0;
  for (std::size_t i = from; i < from + count; ++i) value = value * 10 + (text[i] - '0');
  return value;
}

// The text's length: YYYYMMDDHHMM.
constexpr std::size_t kLength = 12;
constexpr int kLargestYear = 9999;

// value's last width digits into text from at on; value is not negative.
void PutDigits(std::string& text, std::size_t at, std::size_t width, std::int64_t value) {
  for (std::size_t i = at + width; i > at; value /= 10)
    text[--i] = static_cast<char>('0' + value % 10);
}

std::string Padded(std::int64_t number, std::size_t width) {
  std::string text = std::to_string(number);
  return std::string(width > text.size() ? width - text.size() : 0, '0') + text;
}

}  // namespace

std::string UtcMinuteText(std::int64_t minute) {
  std::int64_t days = minute / kMinutesPerDay;
  std::int64_t ofDay = minute % kMinutesPerDay;
  if (ofDay < 0) {
    ofDay += kMinutesPerDay;
    --days;
  }
  const std::chrono::year_month_day date{
      std::chrono::sys_days{std::chrono::days{static_cast<int>(days)}}};
  const int year = static_cast<int>(date.year());
  if (year < 0 || year > kLargestYear)
    return Padded(year, 4) + Padded(static_cast<unsigned>(date.month()), 2) +
           Padded(static_cast<unsigned>(date.day()), 2) + Padded(ofDay / kMinutesPerHour, 2) +
           Padded(ofDay % kMinutesPerHour, 2);
  // Every part fits its width: the digits are put in place, with no text
  // made for each part.
  std::string text(kLength, '0');
  PutDigits(text, 0, 4, year);
  PutDigits(text, 4, 2, static_cast<unsigned>(date.month()));
  PutDigits(text, 6, 2, static_cast<unsigned>(date.day()));
  PutDigits(text, 8, 2, ofDay / kMinutesPerHour);
  PutDigits(text, 10, 2, ofDay % kMinutesPerHour);
  return text;
}

std::optional<std::int64_t> UtcMinuteOf(std::string_view when) {
  if (when.size() != kLength || !AllDigits(when)) return std::nullopt;
  const std::chrono::year_month_day date{std::chrono::year{Digits(when, 0, 4)},
                                         std::chrono::month{unsigned(Digits(when, 4, 2))},
                                         std::chrono::day{unsigned(Digits(when, 6, 2))}};
  const int hour = Digits(when, 8, 2);
  const int minute = Digits(when, 10, 2);
  if (!date.ok() || hour >= kHoursPerDay || minute >= kMinutesPerHour) return std::nullopt;
  const std::int64_t days = std::chrono::sys_days{date}.time_since_epoch().count();
  return days * kMinutesPerDay + hour * kMinutesPerHour + minute;
}

}  // namespace zeltra
