#include "core/logscore/LogReading.h"

#include <limits>

#include "core/logfile/AdifReader.h"
#include "core/logfile/BandPlan.h"
#include "core/logfile/CabrilloReader.h"
#include "core/text/Ascii.h"
#include "core/text/Number.h"

namespace zeltra {
namespace {

std::string Trimmed(std::optional<std::string_view> text) {
  return text ? std::string(TrimControlAndBlank(*text)) : std::string();
}

// The continent and DXCC prefix of a contact: given ones first, then the
// country file's; a warning where neither says.
void PlaceContact(Contact& contact, const std::string& countryName, const ReadOptions& options,
                  std::size_t position, LogContents& log) {
  const bool needContinent = contact.continent.empty();
  const bool needPrefix = contact.dxccPrefix.empty();
  if (!needContinent && !needPrefix) return;
  std::optional<CountryOf> where;
  if (options.countries != nullptr) {
    if (!countryName.empty()) where = options.countries->ByName(countryName);
    if (!where) where = options.countries->Lookup(contact.callSign);
  }
  if (!where) {
    log.warnings.push_back({position, "no country known for call " + contact.callSign +
                                          ": scored with an empty continent and DXCC prefix"});
    return;
  }
  if (needContinent) contact.continent = where->continent;
  if (needPrefix) contact.dxccPrefix = where->dxccPrefix;
}

// A record's contact, or the reason it has none.
std::optional<Contact> ContactOfRecord(const AdifRecord& record, const ReadOptions& options,
                                       LogContents& log, std::string& problem) {
  Contact contact;
  contact.callSign = Trimmed(record[AdifField::kCall]);
  if (contact.callSign.empty()) {
    problem = "no CALL";
    return std::nullopt;
  }
  std::optional<std::string> byFrequency;
  if (record[AdifField::kFreq]) {
    const auto megahertz = NumberOf<double>(TrimControlAndBlank(*record[AdifField::kFreq]));
    if (!megahertz) {
      problem = "field FREQ: \"" + std::string(*record[AdifField::kFreq]) + "\" is not a frequency";
      return std::nullopt;
    }
    byFrequency = BandOfMegahertz(*megahertz);
  }
  if (record[AdifField::kBand]) {
    const auto band = BandOfAdifName(*record[AdifField::kBand]);
    if (!band) {
      problem = "field BAND: unknown band \"" + std::string(*record[AdifField::kBand]) + "\"";
      return std::nullopt;
    }
    contact.band = *band;
    if (byFrequency && *byFrequency != *band)
      log.warnings.push_back(
          {record.number, "field BAND \"" + std::string(*record[AdifField::kBand]) +
                              "\" disagrees with FREQ " + std::string(*record[AdifField::kFreq]) +
                              "; BAND counts"});
  } else if (byFrequency) {
    contact.band = *byFrequency;
  } else {
    problem = record[AdifField::kFreq]
                  ? "field FREQ: " + std::string(*record[AdifField::kFreq]) + " MHz is on no band"
                  : "no BAND or FREQ";
    return std::nullopt;
  }
  contact.mode = AsciiUpper(Trimmed(record[AdifField::kMode]));
  contact.continent = AsciiUpper(Trimmed(record[AdifField::kCont]));
  if (record[AdifField::kSrxString]) {
    contact.reportReceived = std::string(*record[AdifField::kSrxString]);
  } else {
    contact.reportReceived = Trimmed(record[AdifField::kRstRcvd]);
    const std::string state = Trimmed(record[AdifField::kState]);
    if (!state.empty()) {
      if (!contact.reportReceived.empty()) contact.reportReceived += ' ';
      contact.reportReceived += state;
    }
  }
  PlaceContact(contact, Trimmed(record[AdifField::kCountry]), options, record.number, log);
  return contact;
}

}  // namespace

LogContents ReadAdifLog(std::istream& in, const ReadOptions& options) {
  LogContents log;
  AdifReader reader(in);
  AdifRecord current;
  const AdifRecord* record = &current;
  while (reader.Next(current)) {
    for (const std::string& warning : record->warnings)
      log.warnings.push_back({record->number, warning});
    std::string problem = record->error;
    std::optional<Contact> contact;
    if (problem.empty()) contact = ContactOfRecord(*record, options, log, problem);
    if (!contact) {
      log.skipped.push_back({record->number, problem});
      if (options.strict) {
        log.stopped = true;
        break;
      }
      continue;
    }
    if (!log.ownCall) {
      if (auto own = Trimmed((*record)[AdifField::kStationCallsign]); !own.empty())
        log.ownCall = std::move(own);
      else if (auto op = Trimmed((*record)[AdifField::kOperator]); !op.empty())
        log.ownCall = std::move(op);
    }
    if (!log.ownCountry) {
      if (auto country = Trimmed((*record)[AdifField::kMyCountry]); !country.empty())
        log.ownCountry = std::move(country);
    }
    log.contacts.Add(record->number, *contact);
  }
  return log;
}

LogContents ReadCabrilloLog(std::istream& in, const ReadOptions& options) {
  LogContents log;
  const CabrilloLog cabrillo = ReadCabrillo(in);
  log.categories = cabrillo.Categories();
  log.claimedScore = cabrillo.Tag("CLAIMED-SCORE");
  log.ownCall = cabrillo.Tag("CALLSIGN");
  // Strict reading stops at the first line that cannot be scored: no line after it counts.
  const std::size_t lastLine = options.strict && !cabrillo.problems.empty()
                                   ? cabrillo.problems.front().line
                                   : std::numeric_limits<std::size_t>::max();
  for (const CabrilloQso& qso : cabrillo.qsos) {
    if (qso.line > lastLine) break;
    Contact contact{.callSign = qso.call,
                    .band = qso.band,
                    .mode = qso.mode,
                    .continent = {},
                    .dxccPrefix = {},
                    .reportReceived = qso.received};
    PlaceContact(contact, {}, options, qso.line, log);
    log.contacts.Add(qso.line, contact);
  }
  for (const LineProblem& problem : cabrillo.problems) {
    log.skipped.push_back({problem.line, problem.message});
    if (options.strict) {
      log.stopped = true;
      break;
    }
  }
  return log;
}

}  // namespace zeltra
