#include "organiser/site/ResultsSite.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <set>
#include <string_view>

#include "core/parallel/RunInOrder.h"
#include "organiser/files/FileNames.h"
#include "organiser/files/OutputFolder.h"
#include "organiser/results/CheckOutput.h"
#include "organiser/results/CheckReport.h"
#include "organiser/site/EntrantPage.h"
#include "organiser/site/IndexPage.h"
#include "organiser/site/RankingPage.h"
#include "organiser/site/ReceivedPage.h"
#include "organiser/site/ResultsCsv.h"

namespace zeltra::organiser {
namespace {

constexpr std::string_view kIndexPage = "index.html";
constexpr std::string_view kResultsCsv = "results.csv";
constexpr std::string_view kPageSuffix = ".html";
constexpr std::string_view kVerdictsSuffix = ".csv";

bool NothingRanked(const SiteContents& site) {
  return std::none_of(site.ranked.begin(), site.ranked.end(),
                      [](const SiteEntry& entry) { return entry.rank.has_value(); });
}

// Puts the pages staged in a folder in place. False: one could not be
// (told), and those after it are not.
bool CommitFolder(OutputFolder& folder, Diagnostics& diagnostics) {
  try {
    folder.Commit();
    return true;
  } catch (const OutputFailure& failure) {
    diagnostics.Failure(failure.what());
    return false;
  }
}

// Each page is made and written on any thread; failures are told in
// order. False: a page was not written.
bool WriteEntrantPages(const SiteSettings& settings, const SiteSources& sources,
                       const SiteContents& site, const InputFiles& reads, OutputFolder& entrants,
                       Diagnostics& diagnostics) {
  std::vector<CopiesOfEntrant> copies;
  LogsHolding holding;
  PositionWords words;
  if (sources.check != nullptr) {
    copies = CopiesByOthers(sources.logs, *sources.check);
    holding = sources.check->LogsHoldingEachCall();
    words = PositionWordsOf(sources.logs, *sources.check);
  }
  bool allWritten = true;
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
          // The lines with their verdicts are the report's: private with it.
          if (report && !settings.privateReports)
            entrants.Stage(VerdictsFileOf(entry), reads, [&](std::ostream& out) {
              out << kVerdictsHeading << VerdictRowsOf(*entry.log, *sources.check, words);
              for (const CheckedLog* joined : entry.log->joined)
                out << VerdictRowsOf(*joined, *sources.check, words);
            });
          entrants.Stage(PageFileOf(entry), reads,
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

// Each ranking whole, on its pages; those of rankings no longer made go.
// False: a page was not written (told).
bool WriteRankingPages(const SiteContents& site, const InputFiles& reads, const OutputFolder& root,
                       Diagnostics& diagnostics) {
  OutputFolder folder = root.Within(std::string(kRankingsFolder));
  bool allWritten = true;
  std::set<std::string> pages;
  const auto writePage = [&](const std::string& file,
                             const std::function<void(std::ostream&)>& write) {
    pages.insert(file);
    try {
      folder.Stage(file, reads, write);
    } catch (const OutputFailure& failure) {
      diagnostics.Failure(failure.what());
      allWritten = false;
    }
  };
  for (const Ranking& ranking : site.rankings)
    for (std::size_t page = 0; page < ranking.PageCount(); ++page)
      writePage(ranking.PageFile(page),
                [&](std::ostream& out) { WriteRankingPage(out, site, ranking, page); });
  for (std::size_t page = 0; page < ReceivedPageCount(site); ++page)
    writePage(ReceivedPageFile(site, page),
              [&](std::ostream& out) { WriteReceivedPage(out, site, page); });
  if (!CommitFolder(folder, diagnostics)) allWritten = false;
  folder.RemoveOthers(kPageSuffix, pages);
  folder.Sync();
  return allWritten;
}

}  // namespace

std::vector<CheckedLog> UncheckedLogs(const std::vector<LogResult>& results) {
  std::vector<CheckedLog> logs(results.size());
  for (std::size_t i = 0; i < results.size(); ++i) logs[i].log = results[i];
  return logs;
}

bool WriteResultsSite(const SiteSettings& settings, const SiteSources& sources,
                      const InputFiles& reads, Diagnostics& diagnostics) {
  SiteContents site =
      SiteContentsOf(sources.logs, sources.notScored, sources.summary, sources.check != nullptr);
  site.publication = settings.publication;
  site.reportsPrivate = settings.privateReports;
  OutputFolder root(settings.folder);
  if (NothingRanked(site) && root.Holds(std::string(kIndexPage))) {
    diagnostics.Error("No log was ranked: the site in " + settings.folder + " is left as it was");
    return true;
  }
  // Every page is written beside its place, the pages of a folder synced
  // at once and put in place: the entrants', the rankings', then the
  // results and the home page last, which links only to pages already there.
  OutputFolder entrants = root.Within(std::string(kEntrantsFolder));
  bool entrantsWritten = WriteEntrantPages(settings, sources, site, reads, entrants, diagnostics);
  if (!CommitFolder(entrants, diagnostics)) entrantsWritten = false;
  entrants.Sync();
  const bool rankingsWritten = WriteRankingPages(site, reads, root, diagnostics);
  root.Stage(std::string(kResultsCsv), reads,
             [&](std::ostream& out) { WriteResultsCsv(out, site); });
  root.Stage(std::string(kIndexPage), reads, [&](std::ostream& out) { WriteIndexPage(out, site); });
  root.Commit();
  std::set<std::string> pages;
  std::set<std::string> verdicts;
  for (const SiteEntry& entry : site.ranked) {
    if (entry.page.empty()) continue;
    pages.insert(PageFileOf(entry));
    if (sources.check != nullptr && entry.log->IsChecked() && !settings.privateReports)
      verdicts.insert(VerdictsFileOf(entry));
  }
  entrants.RemoveOthers(kPageSuffix, pages);
  entrants.RemoveOthers(kVerdictsSuffix, verdicts);
  entrants.Sync();
  root.Sync();
  return entrantsWritten && rankingsWritten;
}

}  // namespace zeltra::organiser
