#include "tools/score/CheckRun.h"

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "organiser/checking/FolderCheck.h"
#include "organiser/files/FileNames.h"
#include "organiser/reading/LogFolder.h"
#include "organiser/results/CheckOutput.h"
#include "organiser/results/ReportFiles.h"
#include "organiser/site/ResultsSite.h"
#include "tools/score/ExitStatus.h"

namespace zeltra::score {
namespace {

namespace fs = std::filesystem;
using namespace organiser;

// Each output is tried whatever became of the one before; false: it was
// not written whole.
template <class Write>
bool Attempt(Diagnostics& diagnostics, Write write) {
  try {
    return write();
  } catch (const OutputFailure& failure) {
    diagnostics.Failure(failure.what());
    return false;
  }
}

// The outputs beside the results that the options ask for; false: one
// was not written whole.
bool WriteAsked(const ScoreOptions& options, const CheckOutcome& outcome, const LogCheck& check,
                const CheckSummary& summary, std::ostream& out, Diagnostics& diagnostics) {
  const std::vector<CheckedLog>& logs = outcome.logs;
  const std::size_t jobs = options.batch.jobs;
  const InputFiles reads =
      options.verdictsFile || options.reportsFolder || options.summaryFile || options.siteFolder
          ? InputFilesOf(logs, options.countryFile)
          : InputFiles{};
  const bool verdictsWritten = Attempt(diagnostics, [&] {
    if (options.verdictsFile)
      WriteOutput(*options.verdictsFile, out, reads,
                  [&](std::ostream& to) { WriteVerdictsCsv(to, logs, check, jobs); });
    return true;
  });
  const bool summaryWritten = Attempt(diagnostics, [&] {
    if (options.summaryFile)
      WriteOutput(*options.summaryFile, out, reads,
                  [&](std::ostream& to) { WriteSummaryText(to, summary); });
    return true;
  });
  const bool reportsWritten = Attempt(diagnostics, [&] {
    return !options.reportsFolder ||
           WriteReports({*options.reportsFolder, options.check.scores, jobs}, logs, check, reads,
                        diagnostics);
  });
  const bool siteWritten = Attempt(diagnostics, [&] {
    return !options.siteFolder ||
           WriteResultsSite(
               SiteSettingsOf(options),
               {.logs = logs, .notScored = outcome.notScored, .check = &check, .summary = &summary},
               reads, diagnostics);
  });
  return verdictsWritten && summaryWritten && reportsWritten && siteWritten;
}

// Seconds since 1970 in SOURCE_DATE_EPOCH, if it holds a number.
std::optional<std::int64_t> SourceDateEpoch() {
  const char* text = std::getenv("SOURCE_DATE_EPOCH");
  if (text == nullptr || *text == '\0') return std::nullopt;
  char* end = nullptr;
  const long long seconds = std::strtoll(text, &end, 10);
  if (*end != '\0' || seconds < 0) return std::nullopt;
  return seconds;
}

}  // namespace

SiteSettings SiteSettingsOf(const ScoreOptions& options) {
  constexpr std::int64_t kSecondsPerMinute = 60;
  SiteSettings settings = options.site;
  const std::int64_t seconds =
      SourceDateEpoch().value_or(static_cast<std::int64_t>(std::time(nullptr)));
  settings.publication.made = TimeText(seconds / kSecondsPerMinute) + " UTC";
  return settings;
}

InputFiles InputFilesOf(const std::vector<CheckedLog>& logs,
                        const std::optional<std::string>& countryFile) {
  InputFiles reads;
  for (const CheckedLog& log : logs) reads.Add(log.log.file);
  if (countryFile) reads.Add(*countryFile);
  return reads;
}

int RunCrossCheck(const ScoreOptions& options, const CountryFile* countries, std::ostream& out,
                  Diagnostics& diagnostics) {
  std::error_code error;
  if (!fs::is_directory(PathOf(options.check.folder), error)) {
    diagnostics.Failure("--cross-check takes a folder of logs; " + options.check.folder +
                        " is not one");
    return kExitUnreadable;
  }
  LogCheck check(options.check.rules);
  const CheckOutcome outcome =
      CheckFolder(options.check, options.batch, countries, check, diagnostics);
  TellNotScored(outcome.notScored, diagnostics);
  CheckSummary summary = SummaryOf(outcome.logs, check);
  summary.overlappingLogs = outcome.overlapping;
  WriteCheckResults(out, outcome.logs, outcome.notScored, summary, options.output);
  if (!WriteAsked(options, outcome, check, summary, out, diagnostics)) return kExitOutputFailed;
  std::vector<const LogResult*> results;
  for (const CheckedLog& log : outcome.logs) results.push_back(&log.log);
  if (results.empty()) TellNoLog({options.check.folder}, diagnostics);
  return ExitStatusOf(results, outcome.notScored, options.checkClaimed);
}

}  // namespace zeltra::score
