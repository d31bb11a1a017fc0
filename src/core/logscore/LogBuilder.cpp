#include "core/logscore/LogBuilder.h"

#include <array>
#include <iterator>
#include <utility>

#include "core/scoring/ContestRules.h"

namespace zeltra {
namespace {

// A fifth of the calls without a country says more about the country file
// than about the log.
constexpr std::size_t kNoCountryShare = 5;

// Appends later's problems to kept, renumbered, as far as kKeptProblems.
void JoinProblems(std::vector<LogProblem>& kept, std::vector<LogProblem>& later,
                  std::size_t renumberBy) {
  for (LogProblem& problem : later) {
    if (kept.size() == kKeptProblems) return;
    problem.position += renumberBy;
    kept.push_back(std::move(problem));
  }
}

}  // namespace

void LogBuilder::Warn(std::size_t position, std::string message, ProblemKind kind) {
  ++log_.warningsByKind[kind];
  if (log_.warnings.size() < kKeptProblems)
    log_.warnings.push_back({position, std::move(message), kind});
}

bool LogBuilder::Skip(std::size_t position, std::string message, std::optional<PartOfLine> part) {
  ++log_.skippedCount;
  if (log_.skipped.size() < kKeptProblems)
    log_.skipped.push_back({position, std::move(message), ProblemKind::kSkipped, std::move(part)});
  if (!options_.strict) return true;
  log_.stopped = true;
  return false;
}

void LogBuilder::Add(std::size_t position, Contact& contact, std::string_view countryName,
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

void LogBuilder::Join(LogBuilder&& later, std::size_t renumberBy) {
  LogContents& more = later.log_;
  log_.contacts.Join(std::move(more.contacts), renumberBy);
  log_.details.insert(log_.details.end(), std::make_move_iterator(more.details.begin()),
                      std::make_move_iterator(more.details.end()));
  for (const auto& [reason, count] : more.leftOutReasons)
    CountLeftOut(log_, reason, reasonPlace_, count);
  for (LeftOutContact& contact : more.leftOut) {
    contact.position += renumberBy;
    log_.leftOut.push_back(std::move(contact));
  }
  JoinProblems(log_.skipped, more.skipped, renumberBy);
  JoinProblems(log_.warnings, more.warnings, renumberBy);
  log_.skippedCount += more.skippedCount;
  for (const auto& [kind, count] : more.warningsByKind) log_.warningsByKind[kind] += count;
  log_.stopped = log_.stopped || more.stopped;
  if (!log_.readingEnded && more.readingEnded) {
    log_.readingEnded = std::move(more.readingEnded);
    log_.readingEnded->position += renumberBy;
  }
  if (!log_.ownCountry) log_.ownCountry = std::move(more.ownCountry);
  noCountry_ += later.noCountry_;
}

LogContents LogBuilder::Finish() {
  const std::size_t total = log_.contacts.size();
  if (noCountry_ > 0 && noCountry_ * kNoCountryShare > total)
    Warn(0,
         std::to_string(noCountry_) + " of " + std::to_string(total) +
             " contacts have no country: the country file may be wrong or old",
         ProblemKind::kManyCallsWithoutCountry);
  log_.contacts.ShrinkToFit();
  return std::move(log_);
}

std::optional<LeftOutReason> LogBuilder::LeftOutBecause(const Contact& contact,
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

void LogBuilder::PlaceContact(Contact& contact, std::string_view countryName,
                              std::size_t position) {
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

void LogBuilder::WarnOfLongTexts(const Contact& contact, std::size_t position) {
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

}  // namespace zeltra
