#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/logscore/LogActivity.h"
#include "organiser/checking/CheckedLog.h"
#include "organiser/results/CheckSummary.h"
#include "organiser/scoring/LogResult.h"
#include "organiser/site/SiteSettings.h"

namespace zeltra::organiser {

// The folder of the entrants' pages, within the site's.
inline constexpr std::string_view kEntrantsFolder = "entrants";
// The folder of the whole rankings' pages, within the site's.
inline constexpr std::string_view kRankingsFolder = "results";
// The home page shows the first of each ranking; a ranking's own pages
// hold it whole, this many logs a page, so that no page grows past what a
// phone loads at once.
inline constexpr std::size_t kTopOnHomePage = 10;
inline constexpr std::size_t kLogsPerPage = 1000;

// One log on the results site: where its page is and where it stands.
struct SiteEntry {
  const CheckedLog* log = nullptr;
  std::string page;                 // from the site's folder, "entrants/SP9AHW.html"; none: failed
  std::optional<std::size_t> rank;  // among all; none: not ranked (not checked, failed)
  std::optional<std::size_t> categoryRank;
  // Its place in its category among the logs of its DXCC country and,
  // a Polish station's, of its voivodeship.
  std::optional<std::size_t> countryRank;
  std::optional<std::size_t> voivodeshipRank;
  // What the check's summary found to look at in this log, in its order.
  std::vector<const LogToLookAt*> findings;
};

// A club's total: the scores its ranked members' logs are ranked by,
// summed. The club as its first log (in the order of the results) writes
// it; logs whose CLUB differs only in case and spacing are one club's.
struct ClubTotal {
  std::string club;
  std::int64_t score = 0;
  std::size_t logs = 0;
};

// One ranking, overall, a category's or an overlay's, whole on pages of
// its own.
struct Ranking {
  std::string title;  // "All logs, by checked score"; the category's name; "Overlay: ROOKIE"
  std::string name;   // its pages' name in their folder: "ALL", "SINGLE-OP_20ALL_20LOW"
  std::vector<const SiteEntry*> entries;  // in rank order
  std::vector<std::size_t> places;        // each entry's place in this ranking

  std::size_t PageCount() const;
  // The file of one of its pages, counted from 0: "ALL.html", "ALL.2.html"
  // (no name made by ReportNames holds a ".").
  std::string PageFile(std::size_t page) const;
};

// What the results site shows, decided: the logs in their order, the
// contest's activity and, with the log check, its summary. The pages only
// draw it.
struct SiteContents {
  bool checked = false;           // the log check ran: its columns and findings are shown
  std::vector<SiteEntry> ranked;  // every log: ranked first, then not ranked, then failed
  std::vector<const SiteEntry*> byCategory;  // the ranked ones, category by category
  // Overall, then each category in name order, then each overlay: an
  // overlay ranks its logs again beside their main category.
  std::vector<Ranking> rankings;
  // Every log received by call (files without one by name), as an entrant
  // looks for his own; then the files that are no log. Their pages' name
  // in the rankings' folder: "RECEIVED".
  std::vector<const SiteEntry*> byCall;
  std::string receivedName;
  std::vector<NotScored> notScored;       // files received that are no log
  const CheckSummary* summary = nullptr;  // with the check
  LogActivity contest;                    // every log's QSOs together
  std::vector<ClubTotal> clubs;           // highest total first, ties by name
  Publication publication;                // the contest's name, how final, when made
  bool reportsPrivate = false;            // the check's reports stay off the pages
};

// The pages of every file received: how many, and the file of each,
// counted from 0 ("RECEIVED.html", "RECEIVED.2.html").
std::size_t ReceivedPageCount(const SiteContents& site);
std::string ReceivedPageFile(const SiteContents& site, std::size_t page);

// What the site shows of these logs: ranked overall and within their
// categories (with the check, as the check ranks them; else by score),
// each log scored given its page, and the contest's activity summed.
SiteContents SiteContentsOf(const std::vector<CheckedLog>& logs,
                            const std::vector<NotScored>& notScored, const CheckSummary* summary,
                            bool checked);

// The file beside an entrant's page that holds every line of its log with
// its verdict ("SP9AHW.csv" beside "entrants/SP9AHW.html"), the page's
// name within the entrants' folder.
std::string VerdictsFileOf(const SiteEntry& entry);
std::string PageFileOf(const SiteEntry& entry);

// The score a log is ranked by: the checked one with the check, else the
// one before it; none for a log that failed or, with the check, was not
// checked.
std::optional<std::int64_t> RankingScore(const SiteEntry& entry, bool checked);

// The leader of each group of ranked logs (their continent, their DXCC
// country): the best-placed log of each, groups in name order; logs whose
// group is not known are left out.
struct Leader {
  std::string group;
  const SiteEntry* entry;
};
std::vector<Leader> LeadersByContinent(const SiteContents& site);
std::vector<Leader> LeadersByCountry(const SiteContents& site);

}  // namespace zeltra::organiser
