#include "core/logscore/AdifLogPart.h"

#include <optional>
#include <string_view>
#include <utility>

#include "core/logfile/BandPlan.h"
#include "core/text/Ascii.h"
#include "core/text/Number.h"
#include "core/text/UtcMinute.h"

namespace zeltra {
namespace {

std::string_view Trimmed(std::optional<std::string_view> text) {
  return text ? TrimControlAndBlank(*text) : std::string_view();
}

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

}  // namespace

bool AdifLogPart::Take(const AdifRecord& record) {
  for (const std::string& warning : record.warnings)
    builder_.Warn(record.number, warning, ProblemKind::kFieldGivenTwice);
  LogContents& log = builder_.log();
  if (record.endsReading) {
    log.readingEnded = LogProblem{record.number, record.error, ProblemKind::kReadingEnded};
    return false;
  }
  problem_ = record.error;
  std::string when;
  if (problem_.empty()) when = WhenOfRecord(record, problem_);
  if (!problem_.empty() || !ContactOfRecord(record, builder_, contact_, problem_))
    return builder_.Skip(record.number, problem_, PartOfRecord(record));
  std::string_view own = Trimmed(record[AdifField::kStationCallsign]);
  if (own.empty()) own = Trimmed(record[AdifField::kOperator]);
  if (!own.empty()) ownCalls_.Named(own, record.number);
  if (!log.ownCountry) {
    if (const auto country = Trimmed(record[AdifField::kMyCountry]); !country.empty())
      log.ownCountry = std::string(country);
  }
  builder_.Add(record.number, contact_, Trimmed(record[AdifField::kCountry]),
               DetailsOfRecord(record, builder_.options(), std::move(when)));
  return true;
}

bool AdifLogPart::Join(AdifLogPart&& later, std::size_t renumberBy) {
  if (!ownCalls_.Join(later.ownCalls_, renumberBy)) return false;
  builder_.Join(std::move(later.builder_), renumberBy);
  return true;
}

LogContents AdifLogPart::Finish() {
  LogContents& log = builder_.log();
  if (const auto call = ownCalls_.LogsCall()) {
    log.ownCall = call->call;
    if (const auto other = ownCalls_.FirstOther()) {
      const std::size_t others = ownCalls_.Others();
      builder_.Warn(
          other->record,
          "own call " + other->call + " is not " + call->call + ", which record " +
              std::to_string(call->record) + " names and the log is scored as" +
              (others > 1 ? " (" + std::to_string(others) + " records name another own call)" : ""),
          ProblemKind::kOtherOwnCall);
    }
  }
  return builder_.Finish();
}

}  // namespace zeltra
