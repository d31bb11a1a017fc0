#include "tools/score/site/ResultsSite.h"

#include <filesystem>
#include <optional>
#include <unordered_map>

#include "core/parallel/RunInOrder.h"
#include "tools/score/CheckReport.h"
#include "tools/score/FileNames.h"
#include "tools/score/ReportNames.h"
#include "tools/score/site/EntrantPage.h"
#include "tools/score/site/IndexPage.h"

namespace zeltra::score {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kEntrantsFolder = "entrants";

SiteContents ContentsOf(const SiteSources& sources) {
  SiteContents site;
  site.checked = sources.check != nullptr;
  site.summary = sources.summary;
  site.notScored = sources.notScored;
  std::unordered_map<const CheckedLog*, std::size_t> place;
  std::size_t rank = 0;
  for (const RankedLog& ranked : RankedByCheckedScore(sources.logs, false)) {
    SiteEntry entry{.log = ranked.log, .page = {}, .rank = ranked.rank, .categoryRank = {}};
    if (!site.checked && !ranked.log->log.failed()) entry.rank = ++rank;
    place[ranked.log] = site.ranked.size();
    site.ranked.push_back(std::move(entry));
  }
  std::string category;
  for (const RankedLog& ranked : RankedByCheckedScore(sources.logs, true)) {
    SiteEntry& entry = site.ranked[place.at(ranked.log)];
    if (!entry.rank) continue;
    if (site.byCategory.empty() || ranked.log->log.categories != category) rank = 0;
    category = ranked.log->log.categories;
    entry.categoryRank = site.checked ? ranked.rank : ++rank;
    site.byCategory.push_back(&entry);
  }
  ReportNames names;
  for (SiteEntry& entry : site.ranked) {
    const LogResult& log = entry.log->log;
    if (log.failed()) continue;
    const std::string call = log.callSign.empty() ? NameOf(PathOf(log.file).stem()) : log.callSign;
    entry.page = std::string(kEntrantsFolder) + "/" + names.For(call, ".html");
    site.contest.Add(log.activity);
  }
  return site;
}

}  // namespace

std::vector<CheckedLog> UncheckedLogs(const std::vector<LogResult>& results) {
  std::vector<CheckedLog> logs(results.size());
  for (std::size_t i = 0; i < results.size(); ++i) logs[i].log = results[i];
  return logs;
}

bool WriteResultsSite(const std::string& folder, const SiteSources& sources,
                      const ScoreOptions& options, const ReadFiles& reads,
                      Diagnostics& diagnostics) {
  const fs::path root = PathOf(folder);
  std::error_code error;
  fs::create_directories(root / kEntrantsFolder, error);
  if (error)
    throw OutputFailure("cannot make the folder " + NameOf(root / kEntrantsFolder) + ": " +
                        error.message());
  const SiteContents site = ContentsOf(sources);
  WriteFile(NameOf(root / "index.html"), reads,
            [&](std::ostream& out) { WriteIndexPage(out, site); });
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
          WriteFile(NameOf(root / PathOf(entry.page)), reads,
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
