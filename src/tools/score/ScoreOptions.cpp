#include "tools/score/ScoreOptions.h"

#include "tools/options/UtcTimeOption.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <thread>
#include <utility>

#include "organiser/files/FileNames.h"
#include "organiser/files/OutputFile.h"
#include "organiser/reading/CategoryMap.h"

#ifndef ZELTRA_VERSION
#define ZELTRA_VERSION "unknown"
#endif

namespace zeltra::score {
namespace {

// The reason an excluded log is shown with when none is given.
constexpr std::string_view kExcludedByTheOrganiser = "by the organiser";

constexpr const char* kDescription =
    "Usage: zeltra-score [options] LOG...\n"
    "       zeltra-score [options] --odbc \"CONNECTION STRING\" --table NAME\n"
    "       zeltra-score [options] --cross-check FOLDER [--verdicts FILE.csv] [--reports DIR]\n"
    "       zeltra-score [options] --site DIR LOG...|--cross-check FOLDER\n\n"
    "Scores logs of the Zeltra RTTY Contest by the rules of the Zeltra plug-in and\n"
    "prints the table and score line its statistics window shows after \"Recalc\".";

#ifdef ZELTRA_HAVE_ADX
constexpr const char* kLogForms = R"(
LOG is an ADIF file (.adi, .adif), an ADX file (ADIF's XML form), a Cabrillo
file (2.0 or 3.0), a folder of them, or - for standard input; any of them
may be compressed with gzip, and be UTF-16 text with a byte-order mark.
)";
#else
constexpr const char* kLogForms = R"(
LOG is an ADIF file (.adi, .adif), a Cabrillo file (2.0 or 3.0), a folder of
them, or - for standard input; any of them may be compressed with gzip, and
be UTF-16 text with a byte-order mark. An ADX file (ADIF's XML form) is not
read by this build: export the log as ADIF.
)";
#endif

constexpr const char* kFooter =
    R"(A log is known by its content, not its name: a file that is none of
these is "not a log". In a folder, hidden files and files that are not logs
are skipped and listed at the end. One log gives its table; several give one
results table ranked by score, a row for every log given, a log that failed
ranked last with the reason.

Logs given as files count only the contest's contacts: RTTY, on its nine
bands, within --from and --to when given; the others are left out and
counted on standard error, and --contacts lists them with the reason. An
ODBC log table counts every row it holds, as the plug-in's "Recalc" does.

Problems go to standard error as FILE: record N (ADIF) or FILE: line N
(Cabrillo), the field, and what is wrong. A record that cannot be scored is
reported and skipped, unless --strict.

--cross-check checks every log of a folder against every other: a QSO line
is ok when the other station's log holds it on the band and mode within
--window minutes (each log's clock offset, the median of its differences
with the logs it matches, taken out) with the exchange as sent; otherwise
a dupe, nil (not in the other log), busted-call (another station one
character away holds it), busted-exchange, unchecked (no log of the call,
but other logs hold it) or unique. The results are ranked by the checked
score: the QSOs that stay, scored by the plug-in's rules.

Exit status: 0 scored; 1 records were skipped; 2 usage error; 3 a claimed
score differs (with --check-claimed); 4 a log or the database could not be
read; 5 a file given is not a log; 6 the output could not be written.
)";

constexpr const char* kCheckGroup = "Log check (with --cross-check)";
constexpr const char* kSiteGroup = "Results site";
constexpr const char* kStationGroup = "One log's station (not with --cross-check)";

// The usage lines are the description's: CLI11's own line would be a
// second heading.
class Formatter : public CLI::Formatter {
 public:
  std::string make_usage(const CLI::App*, std::string) const override { return {}; }
};

// A name read straight into its enum's value; any other text refused with
// the names there are.
template <class Enum>
CLI::Validator OneOf(std::vector<std::pair<std::string, Enum>> names) {
  return CLI::Validator(
      [names = std::move(names)](std::string& text) -> std::string {
        std::string list;
        for (const auto& [name, value] : names) {
          if (text == name) {
            text = std::to_string(static_cast<int>(value));
            return {};
          }
          list += (list.empty() ? "" : ", ") + name;
        }
        return "\"" + text + "\" is not one of " + list;
      },
      "");
}

// What the check writes beside its results.
std::vector<CLI::Option*> AddCheckOutputs(CLI::App& app, ScoreOptions& options) {
  return {app.add_option("--verdicts", options.verdictsFile,
                         "write every QSO line's verdict to this CSV file (- for standard "
                         "output, after the results)")
              ->type_name("FILE"),
          app.add_option("--summary", options.summaryFile,
                         "write the check of the whole contest to this text file: calls most "
                         "often copied wrongly, NILs each station caused, clocks off, lines by "
                         "verdict (- for standard output)")
              ->type_name("FILE"),
          app.add_option("--reports", options.reportsFolder,
                         "write a log-check report for each entrant (CALL.txt) into this folder")
              ->type_name("DIR")};
}

// The logs a run reads: files and folders, or an ODBC table.
CLI::Option* AddInputs(CLI::App& app, ScoreOptions& options) {
  CLI::Option* logs = app.add_option("LOG", options.inputs, "logs to score")->type_name("");
  CLI::Option* odbc =
      app.add_option("--odbc", options.odbc,
                     "score an ODBC log table (with --table), read with the plug-in's own "
                     "query, columns and rules; the database is opened read-only")
          ->type_name("TEXT")
          ->excludes(logs);
  CLI::Option* table =
      app.add_option("--table", options.table, "the log table to read")->type_name("NAME");
  odbc->needs(table);
  table->needs(odbc);
  return odbc;
}

// The own station of the one log scored.
std::vector<CLI::Option*> AddOneStation(CLI::App& app, organiser::BatchSettings& batch,
                                        organiser::OutputSettings& output) {
  std::vector<CLI::Option*> oneStation = {
      app.add_option("--my-call", batch.station.call,
                     "the own station's call (else the log's STATION_CALLSIGN, OPERATOR or "
                     "Cabrillo CALLSIGN); one log only")
          ->type_name("CALL"),
      app.add_option("--my-continent", batch.station.continent,
                     "the own station's continent, overriding the country file; one log only")
          ->type_name("CC"),
      app.add_option("--my-dxcc", batch.station.dxcc,
                     "the own station's DXCC prefix, overriding the country file; one log only")
          ->type_name("PREFIX"),
      app.add_flag("--contacts", output.contacts,
                   "one line per contact: its line or record, call, band, points or DUPE, the "
                   "multipliers it brought, and why a contact was left out")};
  for (CLI::Option* option : oneStation) option->group(kStationGroup);
  return oneStation;
}

// How each log is read and scored, and how the results are written.
void AddScoring(CLI::App& app, ScoreOptions& options) {
  organiser::BatchSettings& batch = options.batch;
  app.add_option("--cty", options.countryFile,
                 "the country file (cty.dat format) for contacts without CONT or COUNTRY; "
#ifdef _WIN32
                 "default: cty.dat beside the program")
#else
                 "default: cty.dat beside the program, else hamradio-files' "
                 "/usr/share/hamradio-files/cty.dat")
#endif
      ->type_name("FILE");
  app.add_option("--category-map", options.categoryMapFile,
                 "read the logs' categories as this file maps their values, and name the "
                 "ranked categories as it names them ([values] KEY VALUE = VALUE, [names] "
                 "CATEGORY = NAME)")
      ->type_name("FILE")
      ->check(CLI::ExistingFile);
  app.add_option("--order", batch.order,
                 "replay by call sign, byte for byte, as \"Recalc\" does (call, the default), "
                 "or in log order (log)")
      ->type_name("WHICH")
      ->transform(OneOf<organiser::Order>(
          {{"call", organiser::Order::kByCallSign}, {"log", organiser::Order::kLog}}));
  app.add_option("--format", options.output.format,
                 "the output's form (text, the default; csv; json)")
      ->type_name("FORM")
      ->transform(OneOf<organiser::Format>({{"text", organiser::Format::kText},
                                            {"csv", organiser::Format::kCsv},
                                            {"json", organiser::Format::kJson}}));
  app.add_flag("--any-mode", batch.reading.anyMode, "keep contacts in any mode, not only RTTY");
  app.add_flag("--any-band", batch.reading.anyBand,
               "keep contacts on bands outside the contest's nine");
  app.add_option("--from", batch.reading.from,
                 "leave out contacts before this UTC time (\"2026-12-06 12:00\")")
      ->type_name("TIME")
      ->transform(tools::UtcTimeOption());
  app.add_option("--to", batch.reading.to, "leave out contacts at or after this UTC time")
      ->type_name("TIME")
      ->transform(tools::UtcTimeOption());
  app.add_flag("--check-claimed", options.checkClaimed,
               "a claimed score that differs gives exit status 3");
  app.add_flag("--strict", batch.reading.strict,
               "stop at the first line or record that cannot be scored; no score is printed");
  app.add_flag("--quiet", batch.quiet, "count warnings, do not list them");
  app.add_option("--jobs", options.jobs,
                 "read this many logs at once (default: one per core); the output is the same "
                 "whatever the number")
      ->type_name("N")
      ->check(CLI::Range(std::size_t{1}, kMostJobs));
}

// The organiser's check: its folder, its rules, and its outputs, each
// needing the check.
CLI::Option* AddCheck(CLI::App& app, ScoreOptions& options) {
  CLI::Option* crossCheck =
      app.add_option("--cross-check", options.crossCheck,
                     "check every log in FOLDER against every other and rank them by the "
                     "checked score (the folder may also come last, after the other options)")
          ->type_name("FOLDER")
          ->group(kCheckGroup)
          ->expected(0, 1);
  organiser::CheckSettings& check = options.check;
  const std::vector<CLI::Option*> checkOnly = {
      app.add_option("--window", check.rules.windowMinutes,
                     "minutes two logs' times of one QSO may differ, clocks set right "
                     "(default 5)")
          ->type_name("MINUTES")
          ->check(CLI::Range(std::int64_t{0}, kLongestWindowMinutes)),
      app.add_option("--rework-minutes", check.rules.reworkMinutes,
                     "a station worked again on a band and mode at least N minutes after the "
                     "QSO that counted is a new QSO, not a dupe (default: never)")
          ->type_name("N")
          ->check(CLI::Range(std::int64_t{1}, kLongestReworkMinutes)),
      app.add_option("--penalty-nil,--nil-penalty", check.scores.nilPenalty,
                     "take off N more QSOs' points for each NIL (default 0)")
          ->type_name("N")
          ->check(CLI::Range(std::int64_t{0}, kLargestNilPenalty)),
      app.add_option("--penalty-busted", check.scores.bustedPenalty,
                     "take off N more QSOs' points for each busted call or exchange "
                     "(default 0)")
          ->type_name("N")
          ->check(CLI::Range(std::int64_t{0}, kLargestNilPenalty)),
      app.add_flag("--penalty-sent-serial", check.rules.penalizeSentSerial,
                   "a log whose logged sent serials are off from what its partners copied (by "
                   "one amount, as a logger's error) loses those QSOs as busted exchanges "
                   "(by default they stay, and the log is to be looked at)"),
      app.add_flag("--remove-uniques", check.scores.removeUniques,
                   "uniques do not count (they are kept by default)"),
      app.add_flag("--by-category", options.output.byCategory,
                   "rank the logs within each category"),
      app.add_option("--exclude", options.excluded,
                     "keep CALL's log out of the ranking (it still confirms other logs' QSOs), "
                     "with the reason shown beside it; may be given again")
          ->type_name("CALL[=REASON]")
          ->check(CLI::Validator(
              [](const std::string& text) {
                return text.empty() || text.front() == '=' ? std::string("a call is missing")
                                                           : std::string();
              },
              "CALL[=REASON]"))};
  for (CLI::Option* option : checkOnly) option->group(kCheckGroup)->needs(crossCheck);
  for (CLI::Option* option : AddCheckOutputs(app, options))
    option->group(kCheckGroup)->needs(crossCheck);
  return crossCheck;
}

// The results site and what it publishes; answers --site.
CLI::Option* AddSite(CLI::App& app, ScoreOptions& options) {
  CLI::Option* site =
      app.add_option("--site", options.siteFolder,
                     "write the results as a static web site into this folder: index.html and a "
                     "page for each entrant, with charts (and the log check's findings with "
                     "--cross-check)")
          ->type_name("DIR")
          ->group(kSiteGroup);
  organiser::Publication& publication = options.site.publication;
  const std::map<std::string, organiser::ResultsStatus> statuses = {
      {"preliminary", organiser::ResultsStatus::kPreliminary},
      {"final", organiser::ResultsStatus::kFinal}};
  app.add_option("--title", publication.title,
                 "the contest as every page names it (default \"Zeltra RTTY Contest\")")
      ->type_name("TEXT")
      ->group(kSiteGroup)
      ->needs(site);
  app.add_option("--status", publication.status,
                 "say on every page that the results are preliminary or final")
      ->transform(CLI::CheckedTransformer(statuses, CLI::ignore_case))
      ->type_name("preliminary|final")
      ->group(kSiteGroup)
      ->needs(site);
  app.add_flag("--private-reports", options.site.privateReports,
               "keep the log-check reports off the entrants' pages: they go to --reports only")
      ->group(kSiteGroup)
      ->needs(site)
      ->needs("--reports");
  return site;
}

// The options, declared once with their checks and relations: parsing and
// the help text both come from here.
std::unique_ptr<CLI::App> CommandLine(ScoreOptions& options) {
  auto app = std::make_unique<CLI::App>(kDescription, "zeltra-score");
  app->formatter(std::make_shared<Formatter>());
  app->footer(std::string(kLogForms) + kFooter);
  app->get_formatter()->column_width(26);
  CLI::Option* odbc = AddInputs(*app, options);
  const std::vector<CLI::Option*> oneStation = AddOneStation(*app, options.batch, options.output);
  AddScoring(*app, options);
  CLI::Option* crossCheck = AddCheck(*app, options);
  crossCheck->excludes(odbc);
  for (CLI::Option* option : oneStation) crossCheck->excludes(option);
  AddSite(*app, options)->excludes(odbc);
  app->add_flag("--version", options.version, "the program's version");
  return app;
}

// What one job's settings take from the others': each job is told only
// what it must keep or do.
void FillIn(ScoreOptions& options) {
  organiser::BatchSettings& batch = options.batch;
  batch.jobs = JobsFor(options.jobs);
  batch.listContacts = options.output.contacts;
  batch.forCheck = options.crossCheck.has_value();
  batch.forSite = options.siteFolder.has_value();
  if (options.crossCheck) options.check.folder = *options.crossCheck;
  options.check.outputs = OutputsOf(options);
  if (options.siteFolder) options.site.folder = *options.siteFolder;
  options.site.scores = options.check.scores;
  options.site.jobs = batch.jobs;
  for (const std::string& exclusion : options.excluded) {
    const std::size_t equals = exclusion.find('=');
    options.check.excluded[exclusion.substr(0, equals)] = equals == std::string::npos
                                                              ? std::string(kExcludedByTheOrganiser)
                                                              : exclusion.substr(equals + 1);
  }
}

// The organiser's category map, or why it cannot be read, as a usage error.
organiser::CategoryMap CategoryMapOf(const std::string& file) {
  std::ifstream in(organiser::PathOf(file));
  if (!in) throw std::invalid_argument("cannot read the category map " + file);
  try {
    return organiser::ReadCategoryMap(in);
  } catch (const organiser::CategoryMapError& error) {
    throw std::invalid_argument(file + " line " + std::to_string(error.line) + ": " + error.what());
  }
}

}  // namespace

std::vector<std::string> OutputsOf(const ScoreOptions& options) {
  std::vector<std::string> outputs;
  for (const std::optional<std::string>* output :
       {&options.verdictsFile, &options.summaryFile, &options.reportsFolder, &options.siteFolder})
    if (output->has_value() && **output != organiser::kStandardOutput) outputs.push_back(**output);
  return outputs;
}

ScoreOptions ParseScoreOptions(const std::vector<std::string>& arguments) {
  ScoreOptions options;
  auto app = CommandLine(options);
  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
  try {
    app->parse(reversed);
  } catch (const CLI::CallForHelp&) {
    options.help = true;
    return options;
  } catch (const CLI::ParseError& error) {
    throw std::invalid_argument(error.what());
  }
  if (options.version) return options;
  if (options.crossCheck) {
    // "--cross-check logs/ ..." or "--cross-check ... logs/": one folder.
    if (options.crossCheck->empty() && options.inputs.size() == 1) {
      options.crossCheck = options.inputs.front();
      options.inputs.clear();
    }
    if (options.crossCheck->empty() || !options.inputs.empty())
      throw std::invalid_argument("--cross-check takes one folder of logs, and no other log");
  }
  const organiser::ReadSettings& reading = options.batch.reading;
  if (reading.from && reading.to && *reading.to <= *reading.from)
    throw std::invalid_argument("--to must come after --from");
  if (!options.odbc && !options.crossCheck && options.inputs.empty())
    throw std::invalid_argument("no log to score");
  if (std::count(options.inputs.begin(), options.inputs.end(), "-") > 1)
    throw std::invalid_argument("standard input (-) can be read once");
  FillIn(options);
  if (options.categoryMapFile) options.batch.categories = CategoryMapOf(*options.categoryMapFile);
  return options;
}

std::size_t JobsFor(std::size_t asked) {
  if (asked > 0) return asked;
  const std::size_t cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : std::min(cores, kMostJobs);
}

std::string ScoreUsage() {
  ScoreOptions options;
  return CommandLine(options)->help();
}

std::string ScoreVersion() {
  return std::string("zeltra-score ") + ZELTRA_VERSION + "\n";
}

}  // namespace zeltra::score
