#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/scoring/ContestRules.h"

namespace zeltra {

// The QSOs of one clock hour (UTC), by band: one count for each of the
// contest's bands, in the band table's order, and one for any other band.
struct HourOfQsos {
  std::int64_t hour = 0;  // hours since 1970
  std::array<std::uint32_t, kBands.size()> byBand{};
  std::uint32_t otherBands = 0;

  std::uint64_t Total() const;
};

inline constexpr std::int64_t kMinutesPerHour = 60;
// A break in operating is a stretch of at least this many minutes without
// a QSO: QSOs more than an hour apart.
inline constexpr std::int64_t kShortestBreak = 60;

// One QSO as the activity counts it: when, and on which band.
struct TimedQso {
  std::int64_t minute = 0;  // minutes since 1970, UTC
  int band = 0;             // the band's number (1 to 9); 0: a band outside the table
};

// A log's QSOs over time, or the whole contest's: the hours that hold
// QSOs (never the empty ones, so that a wrong date costs nothing), the
// busiest 60 minutes and the time on the air.
struct LogActivity {
  std::vector<HourOfQsos> hours;  // ascending by hour; only hours with QSOs
  std::uint64_t qsos = 0;
  std::uint64_t bestSixtyMinutes = 0;  // most QSOs within any 60 minutes
  std::int64_t bestSixtyStart = 0;     // the first minute of the earliest such 60
  std::int64_t minutesOnAir = 0;       // first QSO to last, less every break

  // The QSOs of each band over all hours, in the band table's order.
  std::array<std::uint64_t, kBands.size()> QsosByBand() const;
};

// The activity of a log's QSOs, given in any order.
LogActivity ActivityOf(std::vector<TimedQso> qsos);

// The contest's activity: its logs' hours counted together, and their
// QSOs (no rate figures). All hours are sorted once, so the time grows
// with the hours of all logs, not with logs times the contest's hours.
LogActivity SumOf(const std::vector<const LogActivity*>& logs);

// At most maxHours consecutive hours, the empty ones among them as well:
// the stretch that holds the most QSOs, the earliest of equals, from its
// first hour with a QSO to its last. What a chart of QSOs per hour draws,
// however far apart a log's wrong dates put its hours.
std::vector<HourOfQsos> BusiestHours(const LogActivity& activity, std::size_t maxHours);

}  // namespace zeltra
