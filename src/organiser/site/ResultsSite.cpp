#include "organiser/site/ResultsSite.h"

#include <filesystem>
#include <optional>

#include "core/parallel/RunInOrder.h"
#include "organiser/files/FileNames.h"
#include "organiser/results/CheckReport.h"
#include "organiser/site/EntrantPage.h"
#include "organiser/site/IndexPage.h"

namespace zeltra::organiser {
namespace {

namespace fs = std::filesystem;

}  // namespace

std::vector<CheckedLog> UncheckedLogs(const std::vector<LogResult>& results) {
  std::vector<CheckedLog> logs(results.size());
  for (std::size_t i = 0; i < results.size(); ++i) logs[i].log = results[i];
  return logs;
}

bool WriteResultsSite(const SiteSettings& settings, const SiteSources& sources,
                      const InputFiles& reads, Diagnostics& diagnostics) {
  const std::string& folder = settings.folder;
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
      site.ranked.size(), settings.jobs,
      [&](std::size_t i) -> std::string {
        const SiteEntry& entry = site.ranked[i];
        if (entry.page.empty()) return {};
        std::optional<CheckReport> report;
        if (sources.check != nullptr && entry.log->IsChecked())
          report =
              CheckReportOf(*entry.log, *sources.check, copies, holding, words, settings.scores);
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
        diagnostics.Failure(failure);
        allWritten = false;
      });
  return allWritten;
}

}  // namespace zeltra::organiser
