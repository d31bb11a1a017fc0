#include "tools/score/site/ResultsSite.h"

#include <filesystem>
#include <optional>

#include "core/parallel/RunInOrder.h"
#include "tools/score/CheckReport.h"
#include "tools/score/FileNames.h"
#include "tools/score/site/EntrantPage.h"
#include "tools/score/site/IndexPage.h"

namespace zeltra::score {
namespace {

namespace fs = std::filesystem;

}  // namespace

std::vector<CheckedLog> UncheckedLogs(const std::vector<LogResult>& results) {
  std::vector<CheckedLog> logs(results.size());
  for (std::size_t i = 0; i < results.size(); ++i) logs[i].log = results[i];
  return logs;
}

bool WriteResultsSite(const std::string& folder, const SiteSources& sources,
                      const ScoreOptions& options, const ReadFiles& reads,
                      Diagnostics& diagnostics) {
  std::error_code error;
  const fs::path entrants = PathOf(folder) / PathOf(std::string(kEntrantsFolder));
  fs::create_directories(entrants, error);
  if (error)
    throw OutputFailure("cannot make the folder " + NameOf(entrants) + ": " + error.message());
  const fs::path root = ResolvedFolder(folder);
  const SiteContents site =
      SiteContentsOf(sources.logs, sources.notScored, sources.summary, sources.check != nullptr);
  WriteFileIn(root, "index.html", reads, [&](std::ostream& out) { WriteIndexPage(out, site); });
  std::vector<CopiesOfEntrant> copies;
  LogsHolding holding;
  PositionWords words;
  if (sources.check != nullptr) {
    copies = CopiesByOthers(sources.logs, *sources.check);
    holding = LogsHoldingEachCall(*sources.check);
    words = PositionWordsOf(sources.logs, *sources.check);
  }
  bool allWritten = true;
  // Each page is made and written on any thread; failures are told in order.
  RunInOrder<std::string>(
      site.ranked.size(), JobsFor(options),
      [&](std::size_t i) -> std::string {
        const SiteEntry& entry = site.ranked[i];
        if (entry.page.empty()) return {};
        std::optional<CheckReport> report;
        if (sources.check != nullptr && entry.log->IsChecked())
          report = CheckReportOf(*entry.log, *sources.check, copies, holding, words, options);
        try {
          WriteFileIn(root, PathOf(entry.page), reads,
                      [&](std::ostream& out) { WriteEntrantPage(out, entry, site, report); });
        } catch (const OutputFailure& failure) {
          return failure.what();
        }
        return {};
      },
      [&](std::size_t, std::string&& failure) {
        if (failure.empty()) return;
        diagnostics.Error("zeltra-score: " + failure);
        allWritten = false;
      });
  return allWritten;
}

}  // namespace zeltra::score
