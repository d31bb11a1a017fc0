#include "core/logscore/LogReading.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>

#include "core/logfile/BandPlan.h"
#include "core/logfile/CabrilloReader.h"
#include "core/scoring/ContestRules.h"
#include "core/text/Ascii.h"
#include "core/text/Number.h"
#include "core/text/UtcMinute.h"

namespace zeltra {
namespace {

// A fifth of the calls without a country says more about the country file
// than about the log.
constexpr std::size_t kNoCountryShare = 5;

std::string_view Trimmed(std::optional<std::string_view> text) {
  return text ? TrimControlAndBlank(*text) : std::string_view();
}

// Collects a log's contacts, what is left out of them and what is wrong.
class LogBuilder {
 public:
  explicit LogBuilder(const ReadOptions& options) : options_(options) {}

  void Warn(std::size_t position, std::string message, ProblemKind kind) {
    ++log_.warningsByKind[kind];
    if (log_.warnings.size() < kKeptProblems)
      log_.warnings.push_back({position, std::move(message), kind});
  }

  // false: strict reading stops here.
  bool Skip(std::size_t position, std::string message,
            std::optional<PartOfLine> part = std::nullopt) {
    ++log_.skippedCount;
    if (log_.skipped.size() < kKeptProblems)
      log_.skipped.push_back(
          {position, std::move(message), ProblemKind::kSkipped, std::move(part)});
    if (!options_.strict) return true;
    log_.stopped = true;
    return false;
  }

  // when: "YYYYMMDDHHMM", or empty when the log does not say; read only
  // when a period is asked for. The contact is placed in its country on
  // the way; its caller may fill it again for the next.
  void Add(std::size_t position, Contact& contact, std::string_view countryName,
           QsoDetails details) {
    const std::string& when = details.when;
    if (const auto reason = LeftOutBecause(contact, when)) {
      CountLeftOut(log_, *reason, reasonPlace_);
      if (options_.listLeftOut) log_.leftOut.push_back({position, contact, *reason, when});
      return;
    }
    PlaceContact(contact, countryName, position);
    WarnOfLongTexts(contact, position);
    log_.contacts.Add(position, contact);
    if (options_.keepDetails) log_.details.push_back(std::move(details));
  }

  LogContents Finish() {
    const std::size_t total = log_.contacts.size();
    if (noCountry_ > 0 && noCountry_ * kNoCountryShare > total)
      Warn(0,
           std::to_string(noCountry_) + " of " + std::to_string(total) +
               " contacts have no country: the country file may be wrong or old",
           ProblemKind::kManyCallsWithoutCountry);
    return std::move(log_);
  }

  LogContents& log() { return log_; }

 private:
  std::optional<LeftOutReason> LeftOutBecause(const Contact& contact,
                                              const std::string& when) const {
    using Kind = LeftOutReason::Kind;
    if (!options_.anyMode && !contact.mode.empty() && contact.mode != kContestMode)
      return LeftOutReason{Kind::kMode, contact.mode};
    if (!options_.anyBand && !BandToShow(contact.band))
      return LeftOutReason{Kind::kBand, contact.band};
    if (options_.from || options_.to) {
      if (when.empty()) return LeftOutReason{Kind::kNoDateAndTime, {}};
      if (options_.from && when < *options_.from) return LeftOutReason{Kind::kBeforePeriod, {}};
      if (options_.to && when >= *options_.to) return LeftOutReason{Kind::kAfterPeriod, {}};
    }
    return std::nullopt;
  }

  // The continent and DXCC prefix of a contact: given ones first, then the
  // country file's; a warning where neither says.
  void PlaceContact(Contact& contact, std::string_view countryName, std::size_t position) {
    const bool needContinent = contact.continent.empty();
    const bool needPrefix = contact.dxccPrefix.empty();
    if (!needContinent && !needPrefix) return;
    const CountryOf* where = nullptr;
    if (options_.countries != nullptr) {
      if (!countryName.empty()) where = options_.countries->ByName(countryName);
      if (where == nullptr) where = options_.countries->Lookup(contact.callSign);
    }
    if (where == nullptr) {
      ++noCountry_;
      Warn(position,
           "no country known for call " + contact.callSign +
               ": scored with an empty continent and DXCC prefix",
           ProblemKind::kCallWithoutCountry);
      return;
    }
    if (needContinent) contact.continent = where->continent;
    if (needPrefix) contact.dxccPrefix = where->dxccPrefix;
  }

  void WarnOfLongTexts(const Contact& contact, std::size_t position) {
    const std::array<std::pair<const std::string*, const char*>, 6> texts = {{
        {&contact.callSign, "call"},
        {&contact.band, "band"},
        {&contact.mode, "mode"},
        {&contact.continent, "continent"},
        {&contact.dxccPrefix, "DXCC prefix"},
        {&contact.reportReceived, "received exchange"},
    }};
    for (const auto& [text, name] : texts)
      if (text->size() > kLongestRecordText)
        Warn(position,
             std::string("the ") + name + " is " + std::to_string(text->size()) +
                 " bytes long; the plug-in's record holds " + std::to_string(kLongestRecordText) +
                 ", so it is scored cut to that",
             ProblemKind::kTextTooLong);
  }

  const ReadOptions& options_;
  LogContents log_;
  std::map<LeftOutReason, std::size_t> reasonPlace_;  // its place in log_.leftOutReasons
  std::size_t noCountry_ = 0;
};

// The band of a record: BAND first, else FREQ; the reason when it has none.
std::optional<std::string_view> BandOfRecord(const AdifRecord& record, LogBuilder& builder,
                                             std::string& problem) {
  const auto frequency = record[AdifField::kFreq];
  std::optional<std::string_view> byFrequency;
  bool frequencyUnreadable = false;
  if (frequency) {
    if (const auto megahertz = NumberOf<double>(TrimControlAndBlank(*frequency)))
      byFrequency = BandOfMegahertz(*megahertz);
    else
      frequencyUnreadable = true;
  }
  if (const auto bandName = record[AdifField::kBand]) {
    const auto band = BandOfAdifName(*bandName);
    if (!band) {
      problem = "field BAND: unknown band \"" + std::string(*bandName) + "\"";
      return std::nullopt;
    }
    if (frequencyUnreadable)
      builder.Warn(
          record.number,
          "field FREQ: \"" + std::string(*frequency) + "\" is not a frequency; BAND counts",
          ProblemKind::kFrequencyUnreadable);
    else if (frequency && byFrequency != band)
      builder.Warn(record.number,
                   "field BAND \"" + std::string(*bandName) + "\" disagrees with FREQ " +
                       std::string(*frequency) + "; BAND counts",
                   ProblemKind::kBandAndFrequencyDisagree);
    return band;
  }
  if (frequencyUnreadable) {
    problem = "field FREQ: \"" + std::string(*frequency) + "\" is not a frequency";
    return std::nullopt;
  }
  if (byFrequency) return byFrequency;
  problem = frequency ? "field FREQ: " + std::string(*frequency) + " MHz is on no band"
                      : "no BAND or FREQ";
  return std::nullopt;
}

constexpr std::size_t kDateDigits = 8;     // YYYYMMDD
constexpr std::size_t kTimeDigits = 4;     // HHMM
constexpr std::size_t kSecondsDigits = 6;  // HHMMSS
constexpr int kSecondsPerMinute = 60;

// "YYYYMMDDHHMM" from QSO_DATE and TIME_ON; empty when the record lacks
// either. A date and time that are given but are none (the 30th of
// February, 2460) are the record's problem.
std::string WhenOfRecord(const AdifRecord& record, std::string& problem) {
  const std::string_view date = Trimmed(record[AdifField::kQsoDate]);
  const std::string_view time = Trimmed(record[AdifField::kTimeOn]);
  if (date.empty() || time.empty()) return {};
  const bool shaped = date.size() == kDateDigits && AllDigits(date) &&
                      (time.size() == kTimeDigits || time.size() == kSecondsDigits) &&
                      AllDigits(time);
  std::string when;
  if (shaped) when = std::string(date) + std::string(time.substr(0, kTimeDigits));
  const bool seconds =
      time.size() != kSecondsDigits || (time[4] - '0') * 10 + (time[5] - '0') < kSecondsPerMinute;
  if (!shaped || !seconds || !UtcMinuteOf(when)) {
    problem = "QSO_DATE " + std::string(date) + " and TIME_ON " + std::string(time) +
              " are no date and time (YYYYMMDD, HHMM or HHMMSS)";
    return {};
  }
  return when;
}

// What was copied: SRX_STRING as it stands, else RST_RCVD and STATE joined
// by a blank; serialWhenNoState: SRX stands in for a missing STATE (the log
// check compares serial numbers; the score has no use for them).
void AssignReceived(std::string& received, const AdifRecord& record, bool serialWhenNoState) {
  if (const auto whole = record[AdifField::kSrxString]) {
    received.assign(*whole);
    return;
  }
  received.assign(Trimmed(record[AdifField::kRstRcvd]));
  std::string_view after = Trimmed(record[AdifField::kState]);
  if (after.empty() && serialWhenNoState) after = Trimmed(record[AdifField::kSrx]);
  if (!after.empty()) {
    if (!received.empty()) received += ' ';
    received += after;
  }
}

std::string ReceivedOfRecord(const AdifRecord& record, bool serialWhenNoState) {
  std::string received;
  AssignReceived(received, record, serialWhenNoState);
  return received;
}

// The time when a period is asked for; the exchanges too for the log check.
QsoDetails DetailsOfRecord(const AdifRecord& record, const ReadOptions& options, std::string when) {
  QsoDetails details;
  if (options.from || options.to || options.keepDetails) details.when = std::move(when);
  if (!options.keepDetails) return details;
  details.sent = Trimmed(record[AdifField::kStxString]);
  if (details.sent.empty()) details.sent = Trimmed(record[AdifField::kStx]);
  details.received = std::string(TrimControlAndBlank(ReceivedOfRecord(record, true)));
  return details;
}

// What a record that cannot be scored still says: the call worked, the
// band (BAND, else FREQ) and the time, when it says all three.
std::optional<PartOfLine> PartOfRecord(const AdifRecord& record) {
  const std::string_view call = Trimmed(record[AdifField::kCall]);
  if (call.empty()) return std::nullopt;
  std::optional<std::string_view> band;
  if (const auto name = record[AdifField::kBand]) band = BandOfAdifName(*name);
  if (!band)
    if (const auto frequency = record[AdifField::kFreq])
      if (const auto megahertz = NumberOf<double>(TrimControlAndBlank(*frequency)))
        band = BandOfMegahertz(*megahertz);
  std::string problem;
  std::string when = WhenOfRecord(record, problem);
  if (!band || when.empty()) return std::nullopt;
  return PartOfLine{.band = std::string(*band), .when = std::move(when), .call = AsciiUpper(call)};
}

// Fills contact from a record; false, with the reason, when the record
// holds none. The contact's strings keep their room from one to the next.
bool ContactOfRecord(const AdifRecord& record, LogBuilder& builder, Contact& contact,
                     std::string& problem) {
  const std::string_view call = Trimmed(record[AdifField::kCall]);
  if (call.empty()) {
    problem = "no CALL";
    return false;
  }
  const auto band = BandOfRecord(record, builder, problem);
  if (!band) return false;
  AssignAsciiUpper(contact.callSign, call);
  contact.band.assign(*band);
  AssignAsciiUpper(contact.mode, Trimmed(record[AdifField::kMode]));
  AssignAsciiUpper(contact.continent, Trimmed(record[AdifField::kCont]));
  contact.dxccPrefix.clear();
  AssignReceived(contact.reportReceived, record, false);
  return true;
}

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
                  std::map<LeftOutReason, std::size_t>& places) {
  ++log.leftOutCount;
  const auto [counted, isNew] = places.try_emplace(reason, log.leftOutReasons.size());
  if (isNew)
    log.leftOutReasons.emplace_back(reason, 1);
  else
    ++log.leftOutReasons[counted->second].second;
}

LogContents ReadAdifLog(AdifRecordSource& records, const ReadOptions& options) {
  LogBuilder builder(options);
  LogContents& log = builder.log();
  AdifRecord record;
  Contact contact;
  std::string problem;
  // A log is one station's: records that name another are told once.
  std::size_t ownCallRecord = 0;
  std::size_t otherOwnCalls = 0;
  std::size_t firstOtherOwnCall = 0;
  std::string otherOwnCall;
  while (records.Next(record)) {
    for (const std::string& warning : record.warnings)
      builder.Warn(record.number, warning, ProblemKind::kFieldGivenTwice);
    if (record.endsReading) {
      log.readingEnded = LogProblem{record.number, record.error, ProblemKind::kReadingEnded};
      break;
    }
    problem = record.error;
    std::string when;
    if (problem.empty()) when = WhenOfRecord(record, problem);
    if (!problem.empty() || !ContactOfRecord(record, builder, contact, problem)) {
      if (!builder.Skip(record.number, problem, PartOfRecord(record))) break;
      continue;
    }
    std::string_view own = Trimmed(record[AdifField::kStationCallsign]);
    if (own.empty()) own = Trimmed(record[AdifField::kOperator]);
    if (!own.empty()) {
      if (!log.ownCall) {
        log.ownCall = AsciiUpper(own);
        ownCallRecord = record.number;
      } else if (!EqualsIgnoringAsciiCase(own, *log.ownCall) && otherOwnCalls++ == 0) {
        firstOtherOwnCall = record.number;
        otherOwnCall = AsciiUpper(own);
      }
    }
    if (!log.ownCountry) {
      if (const auto country = Trimmed(record[AdifField::kMyCountry]); !country.empty())
        log.ownCountry = std::string(country);
    }
    builder.Add(record.number, contact, Trimmed(record[AdifField::kCountry]),
                DetailsOfRecord(record, options, std::move(when)));
  }
  if (otherOwnCalls > 0)
    builder.Warn(firstOtherOwnCall,
                 "own call " + otherOwnCall + " is not " + *log.ownCall + ", which record " +
                     std::to_string(ownCallRecord) + " names and the log is scored as" +
                     (otherOwnCalls > 1
                          ? " (" + std::to_string(otherOwnCalls) + " records name another own call)"
                          : ""),
                 ProblemKind::kOtherOwnCall);
  return builder.Finish();
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
  for (const LineProblem& problem : cabrillo.problems)
    if (!builder.Skip(problem.line, problem.message, problem.part)) break;
  return builder.Finish();
}

}  // namespace zeltra
