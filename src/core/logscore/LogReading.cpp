#include "core/logscore/LogReading.h"

#include <algorithm>
#include <limits>
#include <map>

#include "core/logfile/CabrilloReader.h"
#include "core/logscore/AdifLogPart.h"
#include "core/logscore/LogBuilder.h"
#include "core/text/Ascii.h"

namespace zeltra {
namespace {

StationHeader StationOf(const CabrilloLog& cabrillo) {
  StationHeader station;
  station.operators = cabrillo.Tag("OPERATORS").value_or("");
  station.club = cabrillo.Tag("CLUB").value_or("");
  station.name = cabrillo.Tag("NAME").value_or("");
  std::size_t kept = 0;
  for (const auto& [tag, value] : cabrillo.header) {
    if (tag != "SOAPBOX") continue;
    if (kept + value.size() > kLongestSoapbox) {
      station.soapboxCut = true;
      break;
    }
    kept += value.size();
    station.soapbox.push_back(value);
  }
  return station;
}

}  // namespace

void CountLeftOut(LogContents& log, const LeftOutReason& reason,
                  std::map<LeftOutReason, std::size_t>& places, std::size_t count) {
  log.leftOutCount += count;
  const auto [counted, isNew] = places.try_emplace(reason, log.leftOutReasons.size());
  if (isNew)
    log.leftOutReasons.emplace_back(reason, count);
  else
    log.leftOutReasons[counted->second].second += count;
}

LogContents ReadAdifLog(AdifRecordSource& records, const ReadOptions& options) {
  AdifLogPart log(options);
  AdifRecord record;
  while (records.Next(record) && log.Take(record)) {
  }
  return log.Finish();
}

LogContents ReadCabrilloLog(std::istream& in, const ReadOptions& options) {
  LogBuilder builder(options);
  LogContents& log = builder.log();
  const CabrilloLog cabrillo = ReadCabrillo(in, options.linesBefore + 1);
  log.categories = cabrillo.Categories();
  for (const auto& entry : cabrillo.header) {
    if (log.categoryTags.size() == kMostCategoryTags) break;
    const std::string& tag = entry.first;
    const bool category = tag == "CATEGORY" || tag.rfind("CATEGORY-", 0) == 0;
    const bool known = std::any_of(log.categoryTags.begin(), log.categoryTags.end(),
                                   [&](const auto& kept) { return kept.first == tag; });
    if (category && !known) log.categoryTags.push_back(entry);
  }
  if (auto claimed = cabrillo.Tag("CLAIMED-SCORE"); claimed && !claimed->empty())
    log.claimedScore = std::move(claimed);
  if (auto contest = cabrillo.Tag("CONTEST"); contest && !contest->empty())
    log.contest = std::move(contest);
  if (auto email = cabrillo.Tag("EMAIL"); email && !email->empty()) log.email = std::move(email);
  log.station = StationOf(cabrillo);
  if (auto own = cabrillo.Tag("CALLSIGN"); own && !own->empty()) log.ownCall = AsciiUpper(*own);
  for (const LineProblem& warning : cabrillo.warnings)
    builder.Warn(warning.line, warning.message, ProblemKind::kOwnCallNotHeaders);
  // Strict reading stops at the first line that cannot be scored: no line after it counts.
  const std::size_t lastLine = options.strict && !cabrillo.problems.empty()
                                   ? cabrillo.problems.front().line
                                   : std::numeric_limits<std::size_t>::max();
  for (const CabrilloQso& qso : cabrillo.qsos) {
    if (qso.line > lastLine) break;
    Contact contact{.callSign = AsciiUpper(qso.call),
                    .band = qso.band,
                    .mode = qso.mode,
                    .continent = {},
                    .dxccPrefix = {},
                    .reportReceived = qso.received};
    builder.Add(qso.line, contact, {},
                QsoDetails{.when = qso.when,
                           .sent = options.keepDetails ? qso.sent : std::string(),
                           .received = options.keepDetails ? qso.received : std::string()});
  }
  bool reading = true;
  for (const LineProblem& problem : cabrillo.problems)
    if (!(reading = builder.Skip(problem.line, problem.message, problem.part))) break;
  if (reading) builder.CountSkipped(cabrillo.problemCount - cabrillo.problems.size());
  return builder.Finish();
}

}  // namespace zeltra
