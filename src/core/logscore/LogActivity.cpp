#include "core/logscore/LogActivity.h"

#include <algorithm>

namespace zeltra {
namespace {

// Hours since 1970 of a minute, also before 1970.
std::int64_t HourOf(std::int64_t minute) {
  return minute >= 0 ? minute / kMinutesPerHour : -((-minute - 1) / kMinutesPerHour) - 1;
}

void CountIn(HourOfQsos& hour, const HourOfQsos& more) {
  for (std::size_t band = 0; band < hour.byBand.size(); ++band)
    hour.byBand[band] += more.byBand[band];
  hour.otherBands += more.otherBands;
}

}  // namespace

std::uint64_t HourOfQsos::Total() const {
  std::uint64_t total = otherBands;
  for (const std::uint32_t count : byBand) total += count;
  return total;
}

LogActivity SumOf(const std::vector<const LogActivity*>& logs) {
  LogActivity sum;
  std::vector<HourOfQsos> all;
  std::size_t count = 0;
  for (const LogActivity* log : logs) count += log->hours.size();
  all.reserve(count);
  for (const LogActivity* log : logs) {
    all.insert(all.end(), log->hours.begin(), log->hours.end());
    sum.qsos += log->qsos;
  }
  std::sort(all.begin(), all.end(),
            [](const HourOfQsos& a, const HourOfQsos& b) { return a.hour < b.hour; });
  for (const HourOfQsos& hour : all) {
    if (!sum.hours.empty() && sum.hours.back().hour == hour.hour)
      CountIn(sum.hours.back(), hour);
    else
      sum.hours.push_back(hour);
  }
  return sum;
}

std::array<std::uint64_t, kBands.size()> LogActivity::QsosByBand() const {
  std::array<std::uint64_t, kBands.size()> byBand{};
  for (const HourOfQsos& hour : hours)
    for (std::size_t band = 0; band < byBand.size(); ++band) byBand[band] += hour.byBand[band];
  return byBand;
}

LogActivity ActivityOf(std::vector<TimedQso> qsos) {
  LogActivity activity;
  if (qsos.empty()) return activity;
  std::sort(qsos.begin(), qsos.end(),
            [](const TimedQso& a, const TimedQso& b) { return a.minute < b.minute; });
  activity.qsos = qsos.size();
  std::int64_t stretchStart = qsos.front().minute;
  std::size_t windowStart = 0;
  for (std::size_t i = 0; i < qsos.size(); ++i) {
    const TimedQso& qso = qsos[i];
    const std::int64_t hour = HourOf(qso.minute);
    if (activity.hours.empty() || activity.hours.back().hour != hour)
      activity.hours.push_back({.hour = hour, .byBand = {}, .otherBands = 0});
    if (qso.band >= kFirstBand && qso.band <= kLastBand)
      ++activity.hours.back().byBand[static_cast<std::size_t>(qso.band - kFirstBand)];
    else
      ++activity.hours.back().otherBands;
    // The QSOs of the 60 minutes that end with this one's minute.
    while (qsos[windowStart].minute <= qso.minute - kMinutesPerHour) ++windowStart;
    const std::uint64_t inWindow = i - windowStart + 1;
    if (inWindow > activity.bestSixtyMinutes) {
      activity.bestSixtyMinutes = inWindow;
      activity.bestSixtyStart = qsos[windowStart].minute;
    }
    if (i > 0 && qso.minute - qsos[i - 1].minute > kShortestBreak) {
      activity.minutesOnAir += qsos[i - 1].minute - stretchStart + 1;
      stretchStart = qso.minute;
    }
  }
  activity.minutesOnAir += qsos.back().minute - stretchStart + 1;
  return activity;
}

std::vector<HourOfQsos> BusiestHours(const LogActivity& activity, std::size_t maxHours) {
  const std::vector<HourOfQsos>& hours = activity.hours;
  if (hours.empty() || maxHours == 0) return {};
  const auto span = static_cast<std::int64_t>(maxHours);
  std::size_t bestFirst = 0;
  std::size_t bestLast = 0;
  std::uint64_t bestQsos = 0;
  std::uint64_t inWindow = 0;
  std::size_t last = 0;  // one past the window's last hour
  for (std::size_t first = 0; first < hours.size(); ++first) {
    while (last < hours.size() && hours[last].hour < hours[first].hour + span)
      inWindow += hours[last++].Total();
    if (inWindow > bestQsos) {
      bestQsos = inWindow;
      bestFirst = first;
      bestLast = last - 1;
    }
    inWindow -= hours[first].Total();
  }
  std::vector<HourOfQsos> dense;
  for (std::size_t i = bestFirst; i <= bestLast; ++i) {
    while (!dense.empty() && dense.back().hour + 1 < hours[i].hour)
      dense.push_back({.hour = dense.back().hour + 1, .byBand = {}, .otherBands = 0});
    dense.push_back(hours[i]);
  }
  return dense;
}

}  // namespace zeltra
