#include "tools/score/ScoreRun.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/logfile/CountryFile.h"
#include "core/logscore/LogReading.h"
#include "core/logscore/LogScore.h"
#include "core/logscore/Report.h"
#include "core/reload/LogReload.h"
#include "core/scoring/Scorer.h"
#include "core/text/Ascii.h"
#include "odbc/OdbcConnection.h"
#include "odbc/OdbcLogQuery.h"

namespace zeltra::score {
namespace {

namespace fs = std::filesystem;

// Where the country file is when --cty names none: beside the program, or
// where Debian's hamradio-files puts it.
std::vector<fs::path> DefaultCountryFiles(const ScoreOptions& options) {
  return {fs::path(options.programFolder) / "cty.dat",
          fs::path("/usr/share/hamradio-files/cty.dat")};
}

// A problem that ends the scoring of one log.
struct Unscorable {
  std::string message;
};

std::optional<CountryFile> LoadCountries(const ScoreOptions& options, std::ostream& errors) {
  const auto read = [](const fs::path& path) -> std::optional<std::string> {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  };
  if (options.countryFile) {
    const auto text = read(*options.countryFile);
    if (!text) throw Unscorable{*options.countryFile + ": cannot read the country file"};
    try {
      return CountryFile::Parse(*text);
    } catch (const std::exception& error) {
      throw Unscorable{*options.countryFile + ": " + error.what()};
    }
  }
  for (const fs::path& path : DefaultCountryFiles(options)) {
    std::error_code missing;
    if (!fs::is_regular_file(path, missing)) continue;
    if (const auto text = read(path)) {
      try {
        return CountryFile::Parse(*text);
      } catch (const std::exception& error) {
        errors << path.string() << ": " << error.what() << "; no country file used\n";
      }
    }
  }
  return std::nullopt;
}

bool LooksLikeCabrillo(const fs::path& path) {
  std::string extension = AsciiUpper(path.extension().string());
  if (extension == ".ADI" || extension == ".ADIF") return false;
  if (extension == ".LOG" || extension == ".CBR") return true;
  std::ifstream file(path, std::ios::binary);
  std::string start(64, '\0');
  file.read(start.data(), static_cast<std::streamsize>(start.size()));
  start.resize(static_cast<std::size_t>(file.gcount()));
  return AsciiUpper(start).find("START-OF-LOG") != std::string::npos;
}

// The files to score, folders opened, in name order within each folder.
std::vector<fs::path> LogFiles(const std::vector<std::string>& inputs) {
  std::vector<fs::path> files;
  for (const std::string& input : inputs) {
    std::error_code error;
    if (!fs::is_directory(input, error)) {
      files.emplace_back(input);
      continue;
    }
    std::vector<fs::path> inFolder;
    for (const auto& entry : fs::directory_iterator(input, error))
      if (entry.is_regular_file(error)) inFolder.push_back(entry.path());
    std::sort(inFolder.begin(), inFolder.end());
    files.insert(files.end(), inFolder.begin(), inFolder.end());
  }
  return files;
}

OwnStation OwnStationFor(const ScoreOptions& options, const LogContents* log,
                         const CountryFile* countries) {
  OwnStation own;
  std::optional<CountryOf> where;
  const std::optional<std::string> call = options.myCall   ? options.myCall
                                          : log != nullptr ? log->ownCall
                                                           : std::nullopt;
  if (countries != nullptr && log != nullptr && log->ownCountry && !options.myCall)
    where = countries->ByName(*log->ownCountry);
  if (!where && countries != nullptr && call) where = countries->Lookup(*call);
  if (where) own = {where->continent, where->dxccPrefix};
  if (options.myContinent) own.continent = AsciiUpper(*options.myContinent);
  if (options.myDxcc) own.dxccPrefix = *options.myDxcc;
  if (own.continent.empty() || own.dxccPrefix.empty())
    throw Unscorable{"the own station's " +
                     std::string(own.continent.empty() ? "continent" : "DXCC prefix") +
                     " is unknown: give --my-call, or --my-continent and --my-dxcc"};
  return own;
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

std::string PointsText(std::int32_t points) {
  return points == kDuplicate ? "DUPE" : std::to_string(points);
}

// One log's report in the chosen form.
class SingleReport {
 public:
  SingleReport(const ScoreOptions& options, std::string source, std::string_view positionWord)
      : options_(options), source_(std::move(source)), positionWord_(positionWord) {}

  void Contact(const ContactOutcome& outcome) {
    switch (options_.format) {
      case Format::kText:
        contacts_ += std::string(positionWord_) + " " + std::to_string(outcome.position) + "  " +
                     outcome.contact.callSign + "  " + outcome.contact.band + "  " +
                     PointsText(outcome.points);
        if (const std::string brought = Multipliers(outcome); !brought.empty())
          contacts_ += "  " + brought;
        contacts_ += "\n";
        break;
      case Format::kCsv:
        contacts_ += std::to_string(outcome.position) + "," + CsvField(outcome.contact.callSign) +
                     "," + CsvField(outcome.contact.band) + "," + PointsText(outcome.points) + "," +
                     Multipliers(outcome) + "\n";
        break;
      case Format::kJson:
        contacts_ += std::string(contacts_.empty() ? "\n    " : ",\n    ") +
                     "{\"position\": " + std::to_string(outcome.position) +
                     ", \"call\": " + JsonString(outcome.contact.callSign) +
                     ", \"band\": " + JsonString(outcome.contact.band) + ", \"points\": " +
                     (outcome.points == kDuplicate ? "null" : std::to_string(outcome.points)) +
                     ", \"duplicate\": " + (outcome.points == kDuplicate ? "true" : "false") +
                     ", \"multipliers\": " + JsonString(Multipliers(outcome)) + "}";
        break;
    }
  }

  void Write(std::ostream& out, const LogScore& score, const std::optional<std::string>& claimed,
             std::size_t skipped) const {
    const auto claimedNumber = ClaimedNumber(claimed);
    switch (options_.format) {
      case Format::kText:
        out << contacts_ << TableText(score.summary.table) << score.summary.scoreLine << "\n";
        if (claimed) {
          out << "Claimed score: " << *claimed;
          if (claimedNumber) out << " (difference " << (*claimedNumber - score.score()) << ")";
          out << "\n";
        }
        break;
      case Format::kCsv:
        if (options_.contacts)
          out << "Position,Call,Band,Points,Multipliers\n" << contacts_ << "\n";
        out << TableCsv(score.summary.table) << "\n"
            << "Score line," << CsvField(score.summary.scoreLine) << "\n"
            << "Score," << score.score() << "\n"
            << "Claimed," << CsvField(claimed.value_or("")) << "\n";
        break;
      case Format::kJson:
        out << "{\n  \"source\": " << JsonString(source_)
            << ",\n  \"table\": " << TableJson(score.summary.table)
            << ",\n  \"scoreLine\": " << JsonString(score.summary.scoreLine)
            << ",\n  \"qsos\": " << score.qsos << ",\n  \"points\": " << score.points
            << ",\n  \"voivodeships\": " << score.voivodeships << ",\n  \"dxccs\": " << score.dxccs
            << ",\n  \"continents\": " << score.continents << ",\n  \"score\": " << score.score()
            << ",\n  \"claimed\": " << (claimedNumber ? std::to_string(*claimedNumber) : "null")
            << ",\n  \"skipped\": " << skipped;
        if (options_.contacts) out << ",\n  \"contacts\": [" << contacts_ << "\n  ]";
        out << "\n}\n";
        break;
    }
  }

 private:
  const ScoreOptions& options_;
  std::string source_;
  std::string_view positionWord_;
  std::string contacts_;
};

int ScoreOdbc(const ScoreOptions& options, const CountryFile* countries, std::ostream& out) {
  const OwnStation own = OwnStationFor(options, nullptr, countries);
  OdbcConnection connection(*options.odbc);
  OdbcLogQuery query(connection.get());
  Scorer scorer;
  StatisticTable blanked;
  SingleReport report(options, *options.table, "row");
  MultiplierWatch watch(scorer);
  std::size_t row = 0;
  ReloadHooks hooks;
  if (options.contacts) {
    hooks.replayed = [&](const zeltra::Contact& contact, std::int32_t result) {
      report.Contact(watch.Outcome(++row, contact, result));
    };
  }
  ReloadLog(query, *options.table, own, scorer, blanked, hooks);
  report.Write(out, ScoreOf(scorer.Statistics()), std::nullopt, 0);
  return kExitScored;
}

// One file read into contacts, its problems told on errors as FILE: line N
// or FILE: record N.
LogContents ReadLogFile(const fs::path& path, bool cabrillo, const ScoreOptions& options,
                        const CountryFile* countries, std::ostream& errors) {
  std::ifstream file(path, std::ios::binary);
  std::error_code error;
  if (!file || fs::is_directory(path, error))
    throw Unscorable{path.string() + ": cannot read the file"};
  const ReadOptions read{.countries = countries, .strict = options.strict};
  LogContents log = cabrillo ? ReadCabrilloLog(file, read) : ReadAdifLog(file, read);
  if (file.bad()) throw Unscorable{path.string() + ": cannot read the file"};
  const std::string where = path.string() + (cabrillo ? ": line " : ": record ");
  for (const LogProblem& warning : log.warnings)
    errors << where << warning.position << ": " << warning.message << "\n";
  for (const LogProblem& skipped : log.skipped)
    errors << where << skipped.position << ": " << skipped.message
           << (log.stopped ? "; stopped (--strict)" : "; skipped") << "\n";
  return log;
}

struct ScoredFile {
  LogContents log;
  LogScore score;
};

ScoredFile ScoreFile(const fs::path& path, bool cabrillo, const ScoreOptions& options,
                     const CountryFile* countries, std::ostream& errors, SingleReport* report) {
  LogContents log = ReadLogFile(path, cabrillo, options, countries, errors);
  OwnStation own;
  try {
    own = OwnStationFor(options, &log, countries);
  } catch (const Unscorable& problem) {
    throw Unscorable{path.string() + ": " + problem.message};
  }
  const auto order =
      options.order == Order::kLog ? log.contacts.InLogOrder() : log.contacts.ByCallSign();
  std::function<void(const ContactOutcome&)> each;
  if (report != nullptr && options.contacts)
    each = [report](const ContactOutcome& outcome) { report->Contact(outcome); };
  LogScore score = ReplayContacts(log.contacts, order, own, each);
  return {std::move(log), std::move(score)};
}

int StatusOf(bool skipped, bool claimedDiffers, bool unreadable, const ScoreOptions& options) {
  if (unreadable) return kExitUnreadable;
  if (claimedDiffers && options.checkClaimed) return kExitClaimedDiffers;
  if (skipped) return kExitRecordsSkipped;
  return kExitScored;
}

bool ClaimDiffers(const std::optional<std::string>& claimed, const LogScore& score) {
  if (!claimed) return false;
  const auto number = ClaimedNumber(claimed);
  return !number || *number != score.score();
}

int ScoreOneFile(const fs::path& path, const ScoreOptions& options, const CountryFile* countries,
                 std::ostream& out, std::ostream& errors) {
  const bool cabrillo = LooksLikeCabrillo(path);
  SingleReport report(options, path.string(), cabrillo ? "line" : "record");
  ScoredFile scored = ScoreFile(path, cabrillo, options, countries, errors, &report);
  report.Write(out, scored.score, scored.log.claimedScore, scored.log.skipped.size());
  return StatusOf(!scored.log.skipped.empty(), ClaimDiffers(scored.log.claimedScore, scored.score),
                  false, options);
}

int ScoreBatch(const std::vector<fs::path>& files, const ScoreOptions& options,
               const CountryFile* countries, std::ostream& out, std::ostream& errors,
               bool progressIsShown) {
  std::vector<RankedLog> results;
  bool skipped = false;
  bool claimedDiffers = false;
  bool unreadable = false;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (progressIsShown)
      errors << "\rScoring " << (i + 1) << " of " << files.size() << ": "
             << files[i].filename().string() << "\x1b[K" << std::flush;
    try {
      ScoredFile scored =
          ScoreFile(files[i], LooksLikeCabrillo(files[i]), options, countries, errors, nullptr);
      skipped = skipped || !scored.log.skipped.empty();
      claimedDiffers = claimedDiffers || ClaimDiffers(scored.log.claimedScore, scored.score);
      results.push_back(
          {.file = files[i].string(),
           .callSign = AsciiUpper(scored.log.ownCall.value_or(options.myCall.value_or(""))),
           .categories = scored.log.categories,
           .score = std::move(scored.score),
           .claimed = scored.log.claimedScore,
           .skipped = scored.log.skipped.size()});
    } catch (const Unscorable& problem) {
      if (progressIsShown) errors << "\r\x1b[K";
      errors << problem.message << "\n";
      unreadable = true;
    }
  }
  if (progressIsShown) errors << "\r\x1b[K" << std::flush;
  switch (options.format) {
    case Format::kText:
      out << ResultsText(results);
      break;
    case Format::kCsv:
      out << ResultsCsv(results);
      break;
    case Format::kJson:
      out << ResultsJson(results);
      break;
  }
  return StatusOf(skipped, claimedDiffers, unreadable, options);
}

}  // namespace

int RunScore(const ScoreOptions& options, std::ostream& out, std::ostream& errors,
             bool progressIsShown) {
  try {
    const std::optional<CountryFile> countries = LoadCountries(options, errors);
    const CountryFile* countryFile = countries ? &*countries : nullptr;
    if (options.odbc) return ScoreOdbc(options, countryFile, out);
    const std::vector<fs::path> files = LogFiles(options.inputs);
    if (files.size() == 1 && !fs::is_directory(options.inputs.front()))
      return ScoreOneFile(files.front(), options, countryFile, out, errors);
    return ScoreBatch(files, options, countryFile, out, errors, progressIsShown);
  } catch (const Unscorable& problem) {
    errors << problem.message << "\n";
    return kExitUnreadable;
  } catch (const std::exception& error) {
    errors << "zeltra-score: " << error.what() << "\n";
    return kExitUnreadable;
  }
}

}  // namespace zeltra::score
