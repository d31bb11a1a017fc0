#include "tools/score/ScoreRun.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/logfile/CountryFile.h"
#include "core/logscore/LogScore.h"
#include "core/parallel/RunInOrder.h"
#include "core/reload/LogReload.h"
#include "core/scoring/Scorer.h"
#include "core/text/Ascii.h"
#include "odbc/OdbcConnection.h"
#include "odbc/OdbcLogQuery.h"
#include "organiser/files/FileNames.h"
#include "organiser/files/ProgramFolder.h"
#include "organiser/reading/CountryFiles.h"
#include "organiser/reading/Diagnostics.h"
#include "organiser/reading/LogFolder.h"
#include "organiser/reading/LogInput.h"
#include "organiser/reading/OwnStationChoice.h"
#include "organiser/reading/Unscorable.h"
#include "organiser/results/ResultsOutput.h"
#include "organiser/results/ResultsWriter.h"
#include "organiser/results/RowSpool.h"
#include "organiser/scoring/ContactRows.h"
#include "organiser/scoring/LogResult.h"
#include "organiser/scoring/LogScorer.h"
#include "organiser/site/ResultsSite.h"
#include "tools/score/CheckRun.h"
#include "tools/score/ExitStatus.h"

namespace zeltra::score {
namespace {

namespace fs = std::filesystem;
using namespace organiser;

int ScoreOdbc(const ScoreOptions& options, const CountryFile* countries, std::ostream& out,
              Diagnostics& diagnostics) {
  const auto writer = ResultsWriterFor(options.output);
  RowSpool spool;
  RowSpool::Rows rows(spool, 0);
  LogResult result;
  result.file = *options.table;
  result.positionWord = "row";
  result.callSign = options.batch.station.call ? AsciiUpper(*options.batch.station.call) : "";
  try {
    const OwnStation own = OwnStationFor(options.batch.station, nullptr, countries);
    OdbcConnection connection(*options.odbc, OdbcConnection::Access::kReadOnly);
    OdbcLogQuery query(connection.get());
    Scorer scorer;
    StatisticTable blanked;
    MultiplierWatch watch(scorer);
    std::size_t row = 0;
    ReloadHooks hooks;
    if (options.output.contacts) {
      hooks.replayed = [&](const zeltra::Contact& contact, std::int32_t points) {
        writer->AddContact(result, RowOf(watch.Outcome(++row, contact, points)), rows);
      };
    }
    ReloadLog(query, *options.table, own, scorer, blanked, hooks);
    rows.Finish();
    result.score = ScoreOf(scorer.statistics());
  } catch (const Unscorable& problem) {
    result.failure = problem.message;
  } catch (const std::exception& problem) {
    result.failure = problem.what();
  }
  if (result.Failed()) diagnostics.Failure(result.failure);
  writer->Write(out, {result}, {}, true, spool);
  return result.Failed() ? kExitUnreadable : kExitScored;
}

// Two logs of one call: both stay, each marked with the other's file.
void MarkSameCalls(std::vector<LogResult>& results, Diagnostics& diagnostics) {
  std::map<std::string, std::size_t> firstOfCall;
  for (std::size_t i = 0; i < results.size(); ++i) {
    LogResult& log = results[i];
    if (log.Failed() || log.callSign.empty()) continue;
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

// The batch's results as a site; false, told, when a page was not written.
bool WriteSite(const ScoreOptions& options, const std::vector<LogResult>& results,
               const std::vector<NotScored>& notScored, Diagnostics& diagnostics) {
  const std::vector<CheckedLog> logs = UncheckedLogs(results);
  try {
    return WriteResultsSite(SiteSettingsOf(options), {.logs = logs, .notScored = notScored},
                            InputFilesOf(logs, options.countryFile), diagnostics);
  } catch (const OutputFailure& failure) {
    diagnostics.Failure(failure.what());
    return false;
  }
}

int ScoreFiles(const ScoreOptions& options, const CountryFile* countries, std::ostream& out,
               Diagnostics& diagnostics) {
  std::vector<NotScored> notScored;
  const std::vector<LogFile> files = LogFiles(options.inputs, notScored, OutputsOf(options));
  const bool single = files.size() == 1 && !files.front().fromFolder && notScored.empty();
  std::vector<LogResult> results;
  const auto writer = ResultsWriterFor(options.output);
  // Each log's contacts are worded as they are scored and kept aside until
  // the logs are ranked.
  RowSpool spool;
  // Fewer logs than jobs: a large log is read by two at once.
  BatchSettings batch = options.batch;
  batch.readLargeLogsInTwo = files.size() < batch.jobs;
  RunInOrder<ScoredFile>(
      files.size(), batch.jobs,
      [&](std::size_t i) {
        RowSpool::Rows rows(spool, i);
        ScoredFile scored = ScoreApart(batch, countries, files[i], false,
                                       [&](const LogResult& log, const ContactRow& row) {
                                         writer->AddContact(log, row, rows);
                                       });
        rows.Finish();
        return scored;
      },
      [&](std::size_t i, ScoredFile&& scored) {
        diagnostics.Progress(i, files.size(), NameOf(PathOf(files[i].name).filename()));
        diagnostics.Absorb(scored.told, scored.counts);
        if (scored.result) {
          scored.result->order = i;
          results.push_back(std::move(*scored.result));
        } else {
          notScored.push_back({files[i].name, "not a log"});
        }
      });
  MarkSameCalls(results, diagnostics);
  TellNotScored(notScored, diagnostics);
  writer->Write(out, results, notScored, single, spool);
  std::vector<const LogResult*> all;
  for (const LogResult& result : results) all.push_back(&result);
  if (results.empty()) TellNoLog(options.inputs, diagnostics);
  if (options.siteFolder && !WriteSite(options, results, notScored, diagnostics))
    return kExitOutputFailed;
  return ExitStatusOf(all, notScored, options.checkClaimed);
}

bool OneLogGiven(const ScoreOptions& options) {
  std::error_code error;
  return options.odbc ||
         (options.inputs.size() == 1 && (options.inputs.front() == kStandardInput ||
                                         !fs::is_directory(PathOf(options.inputs.front()), error)));
}

}  // namespace

int RunScore(const ScoreOptions& options, std::ostream& out, std::ostream& errors,
             bool progressIsShown) {
  Diagnostics diagnostics(errors, "zeltra-score", options.batch.quiet, progressIsShown);
  if (options.batch.station.Named() && !OneLogGiven(options)) {
    errors << "zeltra-score: --my-call, --my-continent and --my-dxcc name one log's station; "
              "several logs each name their own\n";
    return kExitUsage;
  }
  int status = kExitScored;
  try {
    const std::optional<CountryFile> countries =
        LoadCountries(options.countryFile, ProgramFolder());
    const CountryFile* countryFile = countries ? &*countries : nullptr;
    if (options.crossCheck)
      status = RunCrossCheck(options, countryFile, out, diagnostics);
    else if (options.odbc)
      status = ScoreOdbc(options, countryFile, out, diagnostics);
    else
      status = ScoreFiles(options, countryFile, out, diagnostics);
  } catch (const Unscorable& problem) {
    diagnostics.Error(problem.message);
    status = kExitUnreadable;
  } catch (const std::exception& problem) {
    diagnostics.Failure(problem.what());
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
