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

}  // namespace

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
