#include "organiser/site/IndexPage.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "organiser/files/FileNames.h"
#include "organiser/results/CheckReport.h"
#include "organiser/results/Plural.h"
#include "organiser/scoring/Places.h"
#include "organiser/site/ActivityCharts.h"
#include "organiser/site/HtmlText.h"
#include "organiser/site/PageFrame.h"
#include "organiser/site/RankingTable.h"
#include "organiser/site/ReceivedPage.h"

namespace zeltra::organiser {
namespace {

// The summary's longest lists show this many calls.
constexpr std::size_t kMostListed = 25;
constexpr std::size_t kMostClubs = 100;
constexpr std::size_t kMostNotRanked = 100;
// Logs to look at and clocks found off: this many, the rest counted (the
// check's summary, --summary, lists them all).
constexpr std::size_t kMostFindings = 100;

void MoreFindings(std::ostream& out, std::size_t total) {
  if (total > kMostFindings)
    out << "<p>And " << Plural(total - kMostFindings, "more log")
        << ": the log check's summary lists them all.</p>\n";
}

// The first of a ranking, and the way to all of it.
void TopOfRanking(std::ostream& out, const Ranking& ranking, bool checked) {
  const std::size_t shown = std::min(ranking.entries.size(), kTopOnHomePage);
  WriteRankingTable(out, ranking, 0, shown, checked, "");
  if (ranking.entries.size() > shown)
    out << "<p><a href=\"" << kRankingsFolder << "/" << Html(ranking.PageFile(0))
        << "\">The whole ranking: " << HtmlShort(ranking.title, kLongestInTable) << " ("
        << Plural(ranking.entries.size(), "log") << ")</a></p>\n";
}

void LeadersTable(std::ostream& out, const std::string& caption, const std::string& heading,
                  const std::vector<Leader>& leaders, bool checked) {
  if (leaders.empty()) return;
  WriteWideStart(out, caption);
  out << "<table><caption>" << Html(caption) << "</caption>\n<thead><tr><th "
      << "scope=\"col\">" << Html(heading)
      << "</th><th scope=\"col\">Call</th><th scope=\"col\" class=\"n\">"
      << (checked ? "Checked score" : "Score") << "</th><th scope=\"col\" "
      << "class=\"n\">Overall rank</th></tr></thead>\n<tbody>\n";
  for (const Leader& leader : leaders) {
    out << "<tr><td>" << Html(leader.group) << "</td>";
    WriteCallCell(out, *leader.entry, "");
    WriteNumberCell(out, RankingScore(*leader.entry, checked).value_or(0));
    WriteNumberCell(out, static_cast<std::int64_t>(*leader.entry->rank));
    out << "</tr>\n";
  }
  out << "</tbody></table></div>\n";
}

// The clubs by their members' scores summed, the first kMostClubs of them.
void ClubsTable(std::ostream& out, const std::vector<ClubTotal>& clubs, bool checked) {
  if (clubs.empty()) return;
  WriteWideStart(out, "Clubs");
  out << "<table><caption>Clubs, by their members' " << (checked ? "checked " : "")
      << "scores summed</caption>\n<thead><tr><th scope=\"col\" class=\"n\">Rank</th><th "
         "scope=\"col\">Club</th><th scope=\"col\" class=\"n\">Total</th><th scope=\"col\" "
         "class=\"n\">Logs</th></tr></thead>\n<tbody>\n";
  Places places;
  for (std::size_t i = 0; i < clubs.size() && i < kMostClubs; ++i) {
    out << "<tr><td class=\"n\">" << places.Next(clubs[i].score) << "</td><th scope=\"row\">"
        << HtmlShort(clubs[i].club, kLongestInTable) << "</th>";
    WriteNumberCell(out, clubs[i].score);
    WriteNumberCell(out, static_cast<std::int64_t>(clubs[i].logs));
    out << "</tr>\n";
  }
  out << "</tbody></table></div>\n";
  if (clubs.size() > kMostClubs)
    out << "<p>And " << Plural(clubs.size() - kMostClubs, "more club") << ".</p>\n";
}

void CallCounts(std::ostream& out, const std::string& caption, const std::string& heading,
                const std::vector<CheckSummary::CallCount>& counts) {
  WriteWideStart(out, caption);
  out << "<table><caption>" << Html(caption) << "</caption>\n<thead><tr><th "
      << "scope=\"col\">Call</th><th scope=\"col\" class=\"n\">" << Html(heading)
      << "</th></tr></thead>\n<tbody>\n";
  for (std::size_t i = 0; i < counts.size() && i < kMostListed; ++i)
    out << "<tr><th scope=\"row\">" << Html(counts[i].call) << "</th><td class=\"n\">"
        << counts[i].count << "</td></tr>\n";
  if (counts.empty()) out << "<tr><td colspan=\"2\">none</td></tr>\n";
  out << "</tbody></table></div>\n";
}

// The logs the organiser is to look at before publishing, and why.
void LookAtTable(std::ostream& out, const std::vector<LogToLookAt>& entries) {
  WriteWideStart(out, "Logs to look at");
  out << "<table><caption>Logs to look at</caption>\n<thead><tr><th scope=\"col\">Call</th><th "
         "scope=\"col\">Why</th></tr></thead>\n<tbody>\n";
  for (std::size_t i = 0; i < entries.size() && i < kMostFindings; ++i)
    out << "<tr><th scope=\"row\">" << HtmlShort(entries[i].log->log.callSign, kLongestInTable)
        << "</th><td>" << Html(LookAtText(entries[i])) << "</td></tr>\n";
  if (entries.empty()) out << "<tr><td colspan=\"2\">none</td></tr>\n";
  out << "</tbody></table></div>\n";
  MoreFindings(out, entries.size());
}

void CheckSection(std::ostream& out, const CheckSummary& summary) {
  out << "<section aria-labelledby=\"check\"><h2 id=\"check\">The log check</h2>\n";
  WriteWideStart(out, "QSO lines by verdict");
  out << "<table><caption>QSO lines by verdict</caption>\n<thead><tr><th "
         "scope=\"col\">Verdict</th><th scope=\"col\" class=\"n\">Lines</th></tr></thead>\n"
         "<tbody>\n";
  for (std::size_t verdict = 0; verdict < kVerdictNames.size(); ++verdict)
    out << "<tr><th scope=\"row\">" << kVerdictNames[verdict] << "</th><td class=\"n\">"
        << summary.verdicts[verdict] << "</td></tr>\n";
  out << "<tr><th scope=\"row\">unreadable</th><td class=\"n\">" << summary.unreadable
      << "</td></tr>\n<tr><th scope=\"row\">left-out</th><td class=\"n\">" << summary.leftOut
      << "</td></tr>\n</tbody></table></div>\n";
  CallCounts(out, "Calls most often copied wrongly in other logs", "Logs that busted it",
             summary.copiedWrongly);
  CallCounts(out, "NILs each station caused in other logs", "NILs caused", summary.nilsCaused);
  CallCounts(out, "Logs we would like to see: calls worked in many logs that sent none",
             "Logs that worked it", summary.missingLogs);
  if (!summary.clocksOff.empty()) {
    WriteWideStart(out, "Clocks found off");
    out << "<table><caption>Clocks found off</caption>\n<thead><tr><th "
           "scope=\"col\">Call</th><th scope=\"col\">Clock</th><th scope=\"col\" "
           "class=\"n\">QSOs it rests on</th><th scope=\"col\" class=\"n\">Within a "
           "minute</th></tr></thead>\n<tbody>\n";
    for (std::size_t i = 0; i < summary.clocksOff.size() && i < kMostFindings; ++i) {
      const CheckSummary::Clock& clock = summary.clocksOff[i];
      out << "<tr><th scope=\"row\">" << HtmlShort(clock.call, kLongestInTable) << "</th><td>"
          << ClockText(clock.offset) << "</td><td class=\"n\">" << clock.pairs
          << "</td><td class=\"n\">" << clock.agreeing << "</td></tr>\n";
    }
    out << "</tbody></table></div>\n";
    MoreFindings(out, summary.clocksOff.size());
  }
  LookAtTable(out, summary.logsToLookAt);
  out << "</section>\n";
}

// What became of the files received: those not ranked here (few, but for
// a flood of them), every one on the pages of their own.
void ReceivedSection(std::ostream& out, const SiteContents& site) {
  out << "<section aria-labelledby=\"received\"><h2 id=\"received\">Logs received</h2>\n";
  std::vector<std::size_t> notRanked;
  std::size_t more = 0;
  const std::size_t total = site.byCall.size() + site.notScored.size();
  for (std::size_t row = 0; row < total; ++row) {
    if (row < site.byCall.size() && site.byCall[row]->rank) continue;
    if (notRanked.size() < kMostNotRanked)
      notRanked.push_back(row);
    else
      ++more;
  }
  if (!notRanked.empty())
    WriteReceivedTable(out, site, "Files received and not ranked, and why", notRanked, "");
  if (more > 0) out << "<p>And " << Plural(more, "more file") << ".</p>\n";
  out << "<p><a href=\"" << kRankingsFolder << "/" << Html(ReceivedPageFile(site, 0))
      << "\">Every file received, and what became of it (" << Plural(total, "file")
      << ")</a></p>\n</section>\n";
}

}  // namespace

void WriteIndexPage(std::ostream& out, const SiteContents& site) {
  PageMenu contents{"Contents",
                    {{"#overall", "Overall"},
                     {"#categories", "By category"},
                     {"#leaders", "Leaders"},
                     {"#activity", "Activity"}}};
  if (site.checked) contents.links.push_back({"#check", "The log check"});
  contents.links.push_back({"#received", "Logs received"});
  contents.links.push_back({"results.csv", "The results as CSV"});
  WritePageStart(out, site.publication.title + ": results", contents);
  WritePublication(out, site.publication);
  const Ranking& overall = site.rankings.front();
  std::size_t files = site.notScored.size();
  for (const SiteEntry& entry : site.ranked) files += 1 + entry.log->joined.size();
  out << "<p>" << Plural(files, "file") << " received, " << Plural(overall.entries.size(), "log")
      << (site.checked ? " checked against each other" : " scored") << ".</p>\n";
  out << "<section aria-labelledby=\"overall\"><h2 id=\"overall\">Overall</h2>\n";
  TopOfRanking(out, overall, site.checked);
  out << "</section>\n<section aria-labelledby=\"categories\"><h2 id=\"categories\">By "
         "category</h2>\n";
  for (std::size_t i = 1; i < site.rankings.size(); ++i)
    TopOfRanking(out, site.rankings[i], site.checked);
  out << "</section>\n<section aria-labelledby=\"leaders\"><h2 id=\"leaders\">Leaders</h2>\n";
  LeadersTable(out, "The leader of each continent", "Continent", LeadersByContinent(site),
               site.checked);
  LeadersTable(out, "The leader of each DXCC country", "DXCC prefix", LeadersByCountry(site),
               site.checked);
  ClubsTable(out, site.clubs, site.checked);
  out << "</section>\n<section aria-labelledby=\"activity\"><h2 id=\"activity\">Activity</h2>\n";
  WriteColumnChart(out,
                   HourChart(site.contest, "contest-hours", "QSOs per hour by band, all logs"));
  WriteColumnChart(out, BandChart(site.contest, "contest-bands", "QSOs by band, all logs"));
  out << "</section>\n";
  if (site.checked && site.summary != nullptr) CheckSection(out, *site.summary);
  ReceivedSection(out, site);
  WritePageEnd(out);
}

}  // namespace zeltra::organiser
