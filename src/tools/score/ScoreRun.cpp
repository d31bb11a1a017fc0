#include "tools/score/ScoreRun.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "core/logfile/AdifReader.h"
#include "core/logfile/CountryFile.h"
#include "core/logscore/LogReading.h"
#include "core/logscore/LogScore.h"
#include "core/reload/LogReload.h"
#include "core/scoring/Scorer.h"
#include "core/text/Ascii.h"
#include "core/text/Number.h"
#include "odbc/OdbcConnection.h"
#include "odbc/OdbcLogQuery.h"
#include "tools/score/Diagnostics.h"
#include "tools/score/LogInput.h"
#include "tools/score/LogResult.h"
#include "tools/score/ResultsOutput.h"
#ifdef ZELTRA_HAVE_ADX
#include "core/logfile/AdxReader.h"
#endif

namespace zeltra::score {
namespace {

namespace fs = std::filesystem;

// A country file is a few hundred kilobytes; far past that it is none.
constexpr std::uintmax_t kLargestCountryFile = 64ull << 20;

// A problem that ends the scoring of one log, or of the run.
struct Unscorable {
  std::string message;
};

// A log given as a file, or found in a folder.
struct LogFile {
  std::string name;
  bool fromFolder = false;
};

std::string ShownName(const std::string& name) {
  return name == kStandardInput ? "standard input" : name;
}

CountryFile ReadCountryFile(const fs::path& path) {
  const std::string name = path.string();
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error || !fs::exists(status))
    throw Unscorable{name + ": the country file does not exist (--cty names another)"};
  if (!fs::is_regular_file(status))
    throw Unscorable{name + ": the country file is not a regular file"};
  const std::uintmax_t size = fs::file_size(path, error);
  if (error || size > kLargestCountryFile)
    throw Unscorable{name + ": the country file is too large to be one"};
  std::ifstream file(path, std::ios::binary);
  std::string text(static_cast<std::size_t>(size), '\0');
  if (!file.read(text.data(), static_cast<std::streamsize>(text.size())))
    throw Unscorable{name + ": cannot read the country file"};
  try {
    return CountryFile::Parse(text);
  } catch (const std::exception& problem) {
    throw Unscorable{name + ": not a country file: " + problem.what()};
  }
}

// The country file --cty names; else cty.dat beside the program, else
// Debian's hamradio-files' one; none when there is none of these.
std::optional<CountryFile> LoadCountries(const ScoreOptions& options) {
  if (options.countryFile) return ReadCountryFile(*options.countryFile);
  for (const fs::path& path : {fs::path(options.programFolder) / "cty.dat",
                               fs::path("/usr/share/hamradio-files/cty.dat")}) {
    std::error_code missing;
    if (fs::exists(path, missing)) return ReadCountryFile(path);
  }
  return std::nullopt;
}

OwnStation OwnStationFor(const ScoreOptions& options, const LogContents* log,
                         const CountryFile* countries) {
  OwnStation own;
  std::optional<CountryOf> where;
  const std::optional<std::string> call = options.myCall   ? AsciiUpper(*options.myCall)
                                          : log != nullptr ? log->ownCall
                                                           : std::nullopt;
  if (countries != nullptr && log != nullptr && log->ownCountry && !options.myCall)
    where = countries->ByName(*log->ownCountry);
  if (!where && countries != nullptr && call) where = countries->Lookup(*call);
  if (where) own = {where->continent, where->dxccPrefix};
  if (options.myContinent) own.continent = AsciiUpper(*options.myContinent);
  if (options.myDxcc) own.dxccPrefix = *options.myDxcc;
  if (!own.continent.empty() && !own.dxccPrefix.empty()) return own;
  if (!call)
    throw Unscorable{
        "the log names no own station (STATION_CALLSIGN, OPERATOR or CALLSIGN): give "
        "--my-call, or --my-continent and --my-dxcc"};
  if (countries == nullptr)
    throw Unscorable{"no country file places the own call " + *call +
                     ": give --cty, or --my-continent and --my-dxcc"};
  throw Unscorable{"the country file does not know the own call " + *call +
                   ": give --my-continent and --my-dxcc"};
}

std::string Multipliers(const ContactOutcome& outcome) {
  std::string brought;
  for (const auto& [got, name] :
       {std::pair{outcome.voivodeship, "voivodeship"}, std::pair{outcome.dxcc, "dxcc"},
        std::pair{outcome.continent, "continent"}}) {
    if (!got) continue;
    if (!brought.empty()) brought += ' ';
    brought += name;
  }
  return brought;
}

ContactRow RowOf(const ContactOutcome& outcome) {
  const Contact& contact = outcome.contact;
  ContactRow row{.position = outcome.position,
                 .call = contact.callSign,
                 .band = contact.band,
                 .mode = contact.mode,
                 .continent = contact.continent,
                 .dxcc = contact.dxccPrefix,
                 .points = std::nullopt,
                 .duplicate = outcome.points == kDuplicate,
                 .multipliers = Multipliers(outcome),
                 .leftOut = {}};
  if (!row.duplicate) row.points = outcome.points;
  return row;
}

// "3 contacts in FT8, 1 in CW and 2 on band 50 left out": the reasons in
// the order first met.
std::string LeftOutSummary(const std::vector<LeftOutContact>& leftOut) {
  std::vector<std::pair<std::string, std::size_t>> reasons;
  for (const LeftOutContact& contact : leftOut) {
    std::string reason = contact.reason;
    if (reason.rfind("mode ", 0) == 0)
      reason = "in " + reason.substr(5);
    else if (reason.rfind("band ", 0) == 0)
      reason = "on " + reason.substr(5) + " MHz";
    else if (reason == "no date and time")
      reason = "without date and time";
    const auto found = std::find_if(reasons.begin(), reasons.end(),
                                    [&](const auto& entry) { return entry.first == reason; });
    if (found == reasons.end())
      reasons.emplace_back(reason, 1);
    else
      ++found->second;
  }
  std::string text;
  for (std::size_t i = 0; i < reasons.size(); ++i) {
    if (i > 0) text += i + 1 == reasons.size() ? " and " : ", ";
    text += std::to_string(reasons[i].second);
    if (i == 0) text += reasons[i].second == 1 ? " contact" : " contacts";
    text += " " + reasons[i].first;
  }
  return text + " left out";
}

class LogScorer {
 public:
  LogScorer(const ScoreOptions& options, const CountryFile* countries, Diagnostics& diagnostics)
      : options_(options), countries_(countries), diagnostics_(diagnostics) {}

  // One log's result; what went wrong told on the diagnostics. Answers
  // none for a file in a folder that is not a log.
  std::optional<LogResult> Score(const LogFile& file) {
    LogResult result;
    result.file = ShownName(file.name);
    try {
      LogInput input(file.name);
      if (input.known().kind == LogKind::kNotALog && file.fromFolder) return std::nullopt;
      Read(input, result);
    } catch (const InputError& problem) {
      result.failure = problem.what();
    } catch (const Unscorable& problem) {
      result.failure = problem.message;
    } catch (const std::bad_alloc&) {
      result.failure = "out of memory";
    } catch (const std::exception& problem) {
      result.failure = problem.what();
    }
    if (result.failed()) diagnostics_.Error(result.file + ": " + result.failure);
    return result;
  }

 private:
  LogContents ReadContents(LogInput& input, LogResult& result) {
    const ReadOptions read{.countries = countries_,
                           .strict = options_.strict,
                           .anyMode = options_.anyMode,
                           .anyBand = options_.anyBand,
                           .from = options_.from,
                           .to = options_.to,
                           .linesBefore = input.known().linesBefore};
    switch (input.known().kind) {
      case LogKind::kAdif: {
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
      case LogKind::kUtf16:
        throw Unscorable{
            "UTF-16 text, which zeltra-score does not read: save the log as "
            "UTF-8 or ASCII"};
      case LogKind::kNotALog:
        break;
    }
    result.notALog = true;
    throw Unscorable{"not a log (no ADIF tags, no ADX, no START-OF-LOG: line)"};
  }

  void Tell(const LogContents& log, const LogResult& result) {
    const std::string where = result.file + ": " + result.positionWord + " ";
    const auto at = [&](const LogProblem& problem) {
      return problem.position == 0 ? result.file + ": "
                                   : where + std::to_string(problem.position) + ": ";
    };
    for (const LogProblem& warning : log.warnings)
      diagnostics_.Warning(at(warning) + warning.message, warning.kind);
    for (const LogProblem& skipped : log.skipped)
      diagnostics_.Warning(
          at(skipped) + skipped.message + (log.stopped ? "; stopped (--strict)" : "; skipped"),
          result.positionWord + "s skipped");
    for (const auto& [kind, count] : log.warningsByKind) {
      const std::size_t listed = static_cast<std::size_t>(
          std::count_if(log.warnings.begin(), log.warnings.end(),
                        [&](const LogProblem& warning) { return warning.kind == kind; }));
      diagnostics_.Count(kind, count - listed);
    }
    diagnostics_.Count(result.positionWord + "s skipped", log.skippedCount - log.skipped.size());
    if (log.warnings.size() + log.skipped.size() < log.skippedCount + [&] {
          std::size_t total = 0;
          for (const auto& entry : log.warningsByKind) total += entry.second;
          return total;
        }())
      diagnostics_.Warning(result.file +
                               ": more problems than are listed; the counts below "
                               "hold them all",
                           "logs with problems not listed");
    if (log.contacts.size() == 0 && log.leftOut.empty() && log.skippedCount == 0)
      diagnostics_.Warning(result.file + ": the log holds no contact", "logs without a contact");
    if (!log.leftOut.empty())
      diagnostics_.Warning(result.file + ": " + LeftOutSummary(log.leftOut) +
                               " (not the contest's mode, bands or period)",
                           "contacts left out");
  }

  void Read(LogInput& input, LogResult& result) {
    LogContents log = ReadContents(input, result);
    input.CheckRead();
    Tell(log, result);
    result.categories = log.categories;
    result.callSign = log.ownCall.value_or(options_.myCall ? AsciiUpper(*options_.myCall) : "");
    result.skipped = log.skippedCount;
    result.leftOut = log.leftOut.size();
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
    if (log.stopped) {
      result.stopped = true;
      throw Unscorable{"stopped at " + result.positionWord + " " +
                       std::to_string(log.skipped.front().position) + " (--strict)"};
    }
    const OwnStation own = OwnStationFor(options_, &log, countries_);
    const auto order =
        options_.order == Order::kLog ? log.contacts.InLogOrder() : log.contacts.ByCallSign();
    std::function<void(const ContactOutcome&)> each;
    if (options_.contacts)
      each = [&](const ContactOutcome& outcome) { result.contacts.push_back(RowOf(outcome)); };
    result.score = ReplayContacts(log.contacts, order, own, each);
    if (options_.contacts)
      for (LeftOutContact& contact : log.leftOut)
        result.contacts.push_back({.position = contact.position,
                                   .call = std::move(contact.contact.callSign),
                                   .band = std::move(contact.contact.band),
                                   .mode = std::move(contact.contact.mode),
                                   .continent = {},
                                   .dxcc = {},
                                   .points = std::nullopt,
                                   .duplicate = false,
                                   .multipliers = {},
                                   .leftOut = std::move(contact.reason)});
  }

  const ScoreOptions& options_;
  const CountryFile* countries_;
  Diagnostics& diagnostics_;
};

int ScoreOdbc(const ScoreOptions& options, const CountryFile* countries, std::ostream& out,
              Diagnostics& diagnostics) {
  LogResult result;
  result.file = *options.table;
  result.positionWord = "row";
  result.callSign = options.myCall ? AsciiUpper(*options.myCall) : "";
  try {
    const OwnStation own = OwnStationFor(options, nullptr, countries);
    OdbcConnection connection(*options.odbc, OdbcConnection::Access::kReadOnly);
    OdbcLogQuery query(connection.get());
    Scorer scorer;
    StatisticTable blanked;
    MultiplierWatch watch(scorer);
    std::size_t row = 0;
    ReloadHooks hooks;
    if (options.contacts) {
      hooks.replayed = [&](const zeltra::Contact& contact, std::int32_t points) {
        result.contacts.push_back(RowOf(watch.Outcome(++row, contact, points)));
      };
    }
    ReloadLog(query, *options.table, own, scorer, blanked, hooks);
    result.score = ScoreOf(scorer.Statistics());
  } catch (const Unscorable& problem) {
    result.failure = problem.message;
  } catch (const std::exception& problem) {
    result.failure = problem.what();
  }
  if (result.failed()) diagnostics.Error("zeltra-score: " + result.failure);
  if (options.format == Format::kText) {
    if (!result.failed()) out << SingleLogText(result, options.contacts);
  } else if (options.format == Format::kCsv) {
    out << (options.contacts ? ContactsCsv({result}) : ResultsCsv({result}));
  } else {
    out << ResultsJson({result}, {}, options.contacts);
  }
  return result.failed() ? kExitUnreadable : kExitScored;
}

bool IsHidden(const fs::path& path) {
  const std::string name = path.filename().string();
  return !name.empty() && name.front() == '.';
}

// The logs to score: files as given, folders opened in name order; what a
// folder holds that is no log file is listed in notScored.
std::vector<LogFile> LogFiles(const std::vector<std::string>& inputs,
                              std::vector<NotScored>& notScored) {
  std::vector<LogFile> files;
  for (const std::string& input : inputs) {
    std::error_code error;
    if (input == kStandardInput || !fs::is_directory(input, error)) {
      files.push_back({input, false});
      continue;
    }
    std::vector<fs::path> inFolder;
    for (const auto& entry : fs::directory_iterator(input, error)) inFolder.push_back(entry.path());
    if (error) notScored.push_back({input, "cannot list the folder: " + error.message()});
    std::sort(inFolder.begin(), inFolder.end());
    for (const fs::path& path : inFolder) {
      if (IsHidden(path))
        notScored.push_back({path.string(), "hidden"});
      else if (fs::is_directory(path, error))
        notScored.push_back({path.string(), "a folder"});
      else if (!fs::is_regular_file(path, error))
        notScored.push_back({path.string(), "not a regular file"});
      else
        files.push_back({path.string(), true});
    }
  }
  return files;
}

// Two logs of one call: both stay, each marked with the other's file.
void MarkSameCalls(std::vector<LogResult>& results, Diagnostics& diagnostics) {
  std::map<std::string, std::size_t> firstOfCall;
  for (std::size_t i = 0; i < results.size(); ++i) {
    LogResult& log = results[i];
    if (log.failed() || log.callSign.empty()) continue;
    const auto [first, isNew] = firstOfCall.try_emplace(log.callSign, i);
    if (isNew) continue;
    LogResult& earlier = results[first->second];
    diagnostics.Warning(earlier.file + " and " + log.file + " are both logs of " + log.callSign +
                            "; both are scored",
                        "calls with two logs");
    if (earlier.note.empty()) earlier.note = "same call as " + log.file;
    log.note = "same call as " + earlier.file;
  }
}

int StatusOf(const std::vector<LogResult>& results, const ScoreOptions& options) {
  const auto any = [&](auto predicate) {
    return std::any_of(results.begin(), results.end(), predicate);
  };
  if (any([](const LogResult& log) { return log.failed() && !log.notALog && !log.stopped; }))
    return kExitUnreadable;
  if (any([](const LogResult& log) { return log.notALog; })) return kExitNotALog;
  if (options.checkClaimed && any([](const LogResult& log) { return log.ClaimDiffers(); }))
    return kExitClaimedDiffers;
  if (any([](const LogResult& log) { return log.stopped || log.skipped > 0; }))
    return kExitRecordsSkipped;
  return kExitScored;
}

void WriteResults(const ScoreOptions& options, bool single, const std::vector<LogResult>& results,
                  const std::vector<NotScored>& notScored, std::ostream& out) {
  switch (options.format) {
    case Format::kText:
      if (!single)
        out << ResultsText(results);
      else if (!results.front().failed())
        out << SingleLogText(results.front(), options.contacts);
      break;
    case Format::kCsv:
      out << (options.contacts ? ContactsCsv(results) : ResultsCsv(results));
      break;
    case Format::kJson:
      out << ResultsJson(results, notScored, options.contacts);
      break;
  }
}

int ScoreFiles(const ScoreOptions& options, const CountryFile* countries, std::ostream& out,
               Diagnostics& diagnostics) {
  std::vector<NotScored> notScored;
  const std::vector<LogFile> files = LogFiles(options.inputs, notScored);
  const bool single = files.size() == 1 && !files.front().fromFolder && notScored.empty();
  LogScorer scorer(options, countries, diagnostics);
  std::vector<LogResult> results;
  for (std::size_t i = 0; i < files.size(); ++i) {
    diagnostics.Progress(i, files.size(), fs::path(files[i].name).filename().string());
    if (auto result = scorer.Score(files[i]))
      results.push_back(std::move(*result));
    else
      notScored.push_back({files[i].name, "not a log"});
  }
  MarkSameCalls(results, diagnostics);
  if (!notScored.empty()) {
    std::string list;
    for (const NotScored& file : notScored)
      list += (list.empty() ? "" : ", ") + file.file + " (" + file.reason + ")";
    diagnostics.Error("Not scored: " + list);
  }
  WriteResults(options, single, results, notScored, out);
  return StatusOf(results, options);
}

bool NamesOneStation(const ScoreOptions& options) {
  return options.myCall || options.myContinent || options.myDxcc;
}

bool OneLogGiven(const ScoreOptions& options) {
  std::error_code error;
  return options.odbc ||
         (options.inputs.size() == 1 && (options.inputs.front() == kStandardInput ||
                                         !fs::is_directory(options.inputs.front(), error)));
}

}  // namespace

int RunScore(const ScoreOptions& options, std::ostream& out, std::ostream& errors,
             bool progressIsShown) {
  Diagnostics diagnostics(errors, options.quiet, progressIsShown);
  if (NamesOneStation(options) && !OneLogGiven(options)) {
    errors << "zeltra-score: --my-call, --my-continent and --my-dxcc name one log's station; "
              "several logs each name their own\n";
    return kExitUsage;
  }
  int status = kExitScored;
  try {
    const std::optional<CountryFile> countries = LoadCountries(options);
    const CountryFile* countryFile = countries ? &*countries : nullptr;
    status = options.odbc ? ScoreOdbc(options, countryFile, out, diagnostics)
                          : ScoreFiles(options, countryFile, out, diagnostics);
  } catch (const Unscorable& problem) {
    diagnostics.Error(problem.message);
    status = kExitUnreadable;
  } catch (const std::exception& problem) {
    diagnostics.Error(std::string("zeltra-score: ") + problem.what());
    status = kExitUnreadable;
  }
  diagnostics.Finish();
  out.flush();
  if (!out) {
    errors << "zeltra-score: cannot write the output (a full disk, or a closed output)\n";
    return kExitOutputFailed;
  }
  return status;
}

}  // namespace zeltra::score
