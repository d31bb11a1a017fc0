#include "organiser/scoring/LogScorer.h"

#include <algorithm>
#include <functional>
#include <map>
#include <new>
#include <sstream>

#include "core/logfile/AdifReader.h"
#include "core/logscore/AdifInTwo.h"
#include "core/scoring/ContestRules.h"
#include "core/text/Ascii.h"
#include "core/text/Number.h"
#include "core/text/UtcMinute.h"
#include "organiser/reading/OwnStationChoice.h"
#include "organiser/reading/ProblemKinds.h"
#include "organiser/reading/Unscorable.h"
#include "organiser/scoring/ContactRows.h"
#ifdef ZELTRA_HAVE_ADX
#include "core/logfile/AdxReader.h"
#endif

namespace zeltra::organiser {
namespace {

// A log smaller than this is read in less time than a second reading
// would save: tens of thousands of contacts.
constexpr std::uint64_t kSmallestLogReadInTwo = 4 << 20;

std::string ShownName(const std::string& name) {
  return name == kStandardInput ? "standard input" : name;
}

// Each contact's time and band, of those whose time is known.
std::vector<TimedQso> TimedQsos(const LogContents& log) {
  std::vector<TimedQso> timed;
  timed.reserve(log.details.size());
  for (std::size_t i = 0; i < log.details.size() && i < log.contacts.size(); ++i)
    if (const auto minute = UtcMinuteOf(log.details[i].when)) {
      const auto band = BandToShow(log.contacts.At(i).band);
      timed.push_back({.minute = *minute, .band = band ? band->number : 0});
    }
  return timed;
}

// A single-band entrant's contacts on other bands count nothing: they are
// left out, as the contest leaves out those outside its bands. (The log
// check keeps them, as evidence for the other logs, and counts them
// nothing there.)
void LeaveOutOtherBands(LogContents& log, std::string_view band) {
  ContactList kept;
  std::vector<QsoDetails> details;
  std::map<LeftOutReason, std::size_t> reasonPlaces;
  for (std::size_t i = 0; i < log.contacts.size(); ++i) {
    Contact contact = log.contacts.At(i);
    const std::size_t position = log.contacts.PositionAt(i);
    const bool detailed = i < log.details.size();
    if (contact.band == band) {
      kept.Add(position, contact);
      if (detailed) details.push_back(std::move(log.details[i]));
      continue;
    }
    const LeftOutReason reason{LeftOutReason::Kind::kOffCategory, contact.band};
    CountLeftOut(log, reason, reasonPlaces);
    log.leftOut.push_back(
        {position, std::move(contact), reason, detailed ? log.details[i].when : std::string()});
  }
  if (kept.size() == log.contacts.size()) return;
  log.contacts = std::move(kept);
  if (!log.details.empty()) log.details = std::move(details);
}

}  // namespace

ScoredFile ScoreApart(const BatchSettings& settings, const CountryFile* countries,
                      const LogFile& file, bool keepContents, ContactSink sink) {
  ScoredFile scored;
  std::ostringstream told;
  // What one log tells is its own: no failure of the run among it.
  Diagnostics diagnostics(told, "", settings.quiet, false);
  LogScorer scorer(settings, countries, diagnostics, std::move(sink));
  scored.result = scorer.Score(file, keepContents ? &scored.contents : nullptr);
  scored.told = told.str();
  scored.counts = diagnostics.Counts();
  return scored;
}

std::optional<LogResult> LogScorer::Score(const LogFile& file, LogContents* contents) {
  LogResult result;
  result.file = ShownName(file.name);
  try {
    LogInput input(file.name, settings_.reading.largestText);
    if (input.known().kind == LogKind::kNotALog && file.fromFolder) return std::nullopt;
    Read(input, result, contents);
  } catch (const InputTooLarge& problem) {
    result.failure = problem.what();
    result.tooLarge = true;
  } catch (const InputError& problem) {
    result.failure = problem.what();
  } catch (const Unscorable& problem) {
    result.failure = problem.message;
    result.noOwnStation = problem.noOwnStation;
  } catch (const std::bad_alloc&) {
    result.failure = "out of memory";
  } catch (const std::exception& problem) {
    result.failure = problem.what();
  }
  if (result.Failed()) diagnostics_.Error(result.file + ": " + result.failure);
  return result;
}

LogContents LogScorer::ReadContents(LogInput& input, LogResult& result) {
  const ReadOptions read{.countries = countries_,
                         .strict = settings_.reading.strict,
                         .anyMode = settings_.reading.anyMode,
                         .anyBand = settings_.reading.anyBand,
                         .listLeftOut = settings_.listContacts || settings_.forCheck,
                         .keepDetails = settings_.forCheck || settings_.forSite,
                         .from = settings_.reading.from,
                         .to = settings_.reading.to,
                         .linesBefore = input.known().linesBefore};
  switch (input.known().kind) {
    case LogKind::kAdif: {
      if (settings_.readLargeLogsInTwo)
        if (const auto size = input.TextSize(); size && *size >= kSmallestLogReadInTwo) {
          const std::uint64_t middle = *size / 2;
          if (const auto fromMiddle = input.TextFrom(middle))
            return ReadAdifLogInTwo(input.stream(), *fromMiddle, middle, read);
        }
      AdifReader reader(input.stream());
      return ReadAdifLog(reader, read);
    }
    case LogKind::kAdx: {
#ifdef ZELTRA_HAVE_ADX
      AdxReader reader(input.stream());
      return ReadAdifLog(reader, read);
#else
      throw Unscorable{
          "an ADX (XML) log, which this build of zeltra-score does not read: "
          "export it as ADIF (.adi)"};
#endif
    }
    case LogKind::kCabrillo:
      result.positionWord = "line";
      if (input.known().textBefore)
        diagnostics_.Warning(result.file + ": text before START-OF-LOG: skipped",
                             "text before START-OF-LOG");
      return ReadCabrilloLog(input.stream(), read);
    case LogKind::kUtf16:  // LogInput reads UTF-16 as UTF-8: a second mark is no log
    case LogKind::kNotALog:
      break;
  }
  result.notALog = true;
  throw Unscorable{"not a log (no ADIF tags, no ADX, no START-OF-LOG: line)"};
}

void LogScorer::Tell(const LogContents& log, const LogResult& result) {
  const std::string where = result.file + ": " + result.positionWord + " ";
  const auto at = [&](const LogProblem& problem) {
    return problem.position == 0 ? result.file + ": "
                                 : where + std::to_string(problem.position) + ": ";
  };
  for (const LogProblem& warning : log.warnings)
    diagnostics_.Warning(at(warning) + warning.message,
                         ProblemKindText(warning.kind, result.positionWord));
  for (const LogProblem& skipped : log.skipped)
    diagnostics_.Warning(
        at(skipped) + skipped.message + (log.stopped ? "; stopped (--strict)" : "; skipped"),
        ProblemKindText(ProblemKind::kSkipped, result.positionWord));
  // What a log had more of than it kept is counted all the same.
  std::size_t notListed = log.skippedCount - log.skipped.size();
  diagnostics_.Count(ProblemKindText(ProblemKind::kSkipped, result.positionWord), notListed);
  std::map<ProblemKind, std::size_t> listed;
  for (const LogProblem& warning : log.warnings) ++listed[warning.kind];
  for (const auto& [kind, count] : log.warningsByKind) {
    const std::size_t unlisted = count - listed[kind];
    diagnostics_.Count(ProblemKindText(kind, result.positionWord), unlisted);
    notListed += unlisted;
  }
  if (notListed > 0)
    diagnostics_.Warning(result.file + ": " + std::to_string(notListed) +
                             " more problems than are listed; the counts below hold them all",
                         "logs with problems not listed");
  if (log.contacts.size() == 0 && log.leftOutCount == 0 && log.skippedCount == 0)
    diagnostics_.Warning(result.file + ": the log holds no contact", "logs without a contact");
  if (log.leftOutCount > 0) {
    const auto offCategory = [](const auto& reason) {
      return reason.first.kind == LeftOutReason::Kind::kOffCategory;
    };
    const auto& reasons = log.leftOutReasons;
    const char* why = " (not the contest's mode, bands or period)";
    if (std::all_of(reasons.begin(), reasons.end(), offCategory))
      why = " (not the band of the log's category)";
    else if (std::any_of(reasons.begin(), reasons.end(), offCategory))
      why = " (not the contest's mode, bands or period, or not the band of the log's category)";
    diagnostics_.Warning(result.file + ": " + LeftOutSummary(reasons) + why, "contacts left out");
  }
}

void LogScorer::Read(LogInput& input, LogResult& result, LogContents* contents) {
  LogContents log = ReadContents(input, result);
  input.CheckRead();
  result.declared = CategoriesOf(log.categoryTags);
  ApplyCategoryMap(settings_.categories, result.declared);
  result.categories = RankedName(settings_.categories, result.declared);
  const std::optional<std::string_view> categoryBand = result.declared.SingleBand();
  if (categoryBand && !settings_.forCheck) LeaveOutOtherBands(log, *categoryBand);
  Tell(log, result);
  result.callSign =
      log.ownCall.value_or(settings_.station.call ? AsciiUpper(*settings_.station.call) : "");
  result.skipped = log.skippedCount;
  result.leftOut = log.leftOutCount;
  if (log.claimedScore) {
    result.claimed = log.claimedScore;
    const auto number = NumberOf<long long>(TrimControlAndBlank(*log.claimedScore));
    if (number && *number >= -kLargestClaim && *number <= kLargestClaim)
      result.claimedNumber = number;
    else
      diagnostics_.Warning(
          result.file + ": CLAIMED-SCORE \"" + *log.claimedScore + "\" is not a number",
          "claimed score not a number");
  }
  if (log.readingEnded)
    throw Unscorable{result.positionWord + " " + std::to_string(log.readingEnded->position) + ": " +
                     log.readingEnded->message + "; the rest of the file is not read"};
  if (log.stopped) {
    result.stopped = true;
    throw Unscorable{"stopped at " + result.positionWord + " " +
                     std::to_string(log.skipped.front().position) + " (--strict)"};
  }
  const OwnStation own = OwnStationFor(settings_.station, &log, countries_);
  std::function<void(const ContactOutcome&)> each;
  const bool listed = settings_.listContacts && sink_;
  if (listed) each = [&](const ContactOutcome& outcome) { sink_(result, RowOf(outcome)); };
  if (categoryBand && settings_.forCheck) {
    // The check keeps a single-band log's other bands as evidence for the
    // logs it worked there; its score is its own band's, as without it.
    const ContactList& contacts = log.contacts;
    result.score = ReplayContacts(contacts, contacts.ByCallSign().Only([&](std::uint32_t i) {
      return contacts.At(i).band == *categoryBand;
    }),
                                  own, each);
  } else {
    result.score = settings_.order == Order::kLog
                       ? ReplayContacts(log.contacts, log.contacts.InLogOrder(), own, each)
                       : ReplayContacts(log.contacts, log.contacts.ByCallSign(), own, each);
  }
  if (listed)
    for (LeftOutContact& contact : log.leftOut)
      sink_(result, {.position = contact.position,
                     .call = std::move(contact.contact.callSign),
                     .band = std::move(contact.contact.band),
                     .mode = std::move(contact.contact.mode),
                     .continent = {},
                     .dxcc = {},
                     .points = std::nullopt,
                     .duplicate = false,
                     .multipliers = {},
                     .leftOut = LeftOutText(contact.reason)});
  if (settings_.forSite) {
    result.own = own;
    result.station = std::move(log.station);
    result.activity = ActivityOf(TimedQsos(log));
    if (!settings_.forCheck) log.details = {};
  }
  if (contents) *contents = std::move(log);
}

}  // namespace zeltra::organiser
