#include "core/text/UtcMinute.h"

#include "core/text/Ascii.h"

namespace zeltra {
namespace {

constexpr std::int64_t kMinutesPerHour = 60;
constexpr std::int64_t kMinutesPerDay = 24 * kMinutesPerHour;

int Digits(std::string_view text, std::size_t from, std::size_t count) {
  int value = 0;
  for (std::size_t i = from; i < from + count; ++i) value = value * 10 + (text[i] - '0');
  return value;
}

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t DaysSinceEpoch(int year, int month, int day) {
  const std::int64_t y = year - (month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yearOfEra = y - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

// A date of the proleptic Gregorian calendar from days since 1970-01-01.
void DateOf(std::int64_t days, std::int64_t& year, std::int64_t& month, std::int64_t& day) {
  const std::int64_t z = days + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t dayOfEra = z - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shifted = (5 * dayOfYear + 2) / 153;
  day = dayOfYear - (153 * shifted + 2) / 5 + 1;
  month = shifted < 10 ? shifted + 3 : shifted - 9;
  year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
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
  std::int64_t year = 0, month = 0, day = 0;
  DateOf(days, year, month, day);
  return Padded(year, 4) + Padded(month, 2) + Padded(day, 2) + Padded(ofDay / kMinutesPerHour, 2) +
         Padded(ofDay % kMinutesPerHour, 2);
}

std::optional<std::int64_t> UtcMinuteOf(std::string_view when) {
  constexpr std::size_t kLength = 12;
  if (when.size() != kLength || !AllDigits(when)) return std::nullopt;
  const int year = Digits(when, 0, 4);
  const int month = Digits(when, 4, 2);
  const int day = Digits(when, 6, 2);
  const int hour = Digits(when, 8, 2);
  const int minute = Digits(when, 10, 2);
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
      minute > 59)
    return std::nullopt;
  return DaysSinceEpoch(year, month, day) * kMinutesPerDay + hour * kMinutesPerHour + minute;
}

}  // namespace zeltra
