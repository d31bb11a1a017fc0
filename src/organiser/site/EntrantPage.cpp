#include "organiser/site/EntrantPage.h"

#include <string>
#include <vector>

#include "organiser/files/FileNames.h"
#include "organiser/results/CheckSummary.h"
#include "organiser/results/Plural.h"
#include "organiser/site/ActivityCharts.h"
#include "organiser/site/HtmlText.h"
#include "organiser/site/PageFrame.h"

namespace zeltra::organiser {
namespace {

// A list of the report shows this many rows on the page; the rest are in
// the entrant's CSV.
constexpr std::size_t kMostRowsShown = 100;

void Term(std::ostream& out, const std::string& term, const std::string& text) {
  out << "<dt>" << Html(term) << "</dt><dd>" << Html(text) << "</dd>\n";
}

void StationSection(std::ostream& out, const SiteEntry& entry) {
  const LogResult& log = entry.log->log;
  out << "<section aria-labelledby=\"station\"><h2 id=\"station\">Station</h2>\n<dl>\n";
  const std::string declared = log.declared.Declared();
  Term(out, "Categories", declared.empty() ? "none given" : declared);
  if (!log.categories.empty() && log.categories != declared) Term(out, "Ranked in", log.categories);
  if (!log.station.operators.empty()) Term(out, "Operators", log.station.operators);
  if (!log.station.name.empty()) Term(out, "Name", log.station.name);
  if (!log.station.club.empty()) Term(out, "Club", log.station.club);
  if (!log.own.continent.empty())
    Term(out, "Continent and DXCC prefix", log.own.continent + ", " + log.own.dxccPrefix);
  if (entry.log->joined.empty())
    Term(out, "Log", FileNameOf(log.file));
  else
    Term(out, "Logs, checked as one station", entry.log->FileNames());
  if (entry.rank) Term(out, "Place", std::to_string(*entry.rank) + " overall");
  if (entry.categoryRank) Term(out, "Place in its category", std::to_string(*entry.categoryRank));
  if (entry.countryRank)
    Term(out, "Place in its category in " + log.own.dxccPrefix, std::to_string(*entry.countryRank));
  if (entry.voivodeshipRank)
    Term(out, "Place in its category in voivodeship " + std::string(1, *entry.log->voivodeship),
         std::to_string(*entry.voivodeshipRank));
  out << "</dl>\n</section>\n";
}

void BandTable(std::ostream& out, const std::string& caption, const Summary& summary) {
  const StatisticTable& table = summary.table;
  WriteWideStart(out, caption);
  out << "<table><caption>" << Html(caption) << "</caption>\n<thead><tr>";
  for (std::size_t column = 0; column < StatisticTable::kColumns; ++column)
    out << "<th scope=\"col\"" << (column > 0 ? " class=\"n\"" : "") << ">"
        << Html(table.Cell(column, 0)) << "</th>";
  out << "</tr></thead>\n<tbody>\n";
  for (std::size_t row = 1; row < StatisticTable::kRows; ++row) {
    out << "<tr><th scope=\"row\">" << Html(table.Cell(0, row)) << "</th>";
    for (std::size_t column = 1; column < StatisticTable::kColumns; ++column)
      out << "<td class=\"n\">" << Html(table.Cell(column, row)) << "</td>";
    out << "</tr>\n";
  }
  out << "</tbody></table></div>\n<p>" << Html(summary.scoreLine) << "</p>\n";
}

void ScoreSection(std::ostream& out, const SiteEntry& entry,
                  const std::optional<CheckReport>& report) {
  const CheckedLog& log = *entry.log;
  out << "<section aria-labelledby=\"score\"><h2 id=\"score\">Score</h2>\n<dl>\n";
  if (report) {
    for (const auto& [label, value] : report->scores) Term(out, label, value);
  } else {
    Term(out, "Claimed score", log.log.claimed.value_or("none"));
    Term(out, "Score", std::to_string(log.log.score->Score()));
  }
  out << "</dl>\n";
  if (report)
    BandTable(out, "Checked score by band", log.checked->summary);
  else
    BandTable(out, "Score by band", log.log.score->summary);
  out << "</section>\n";
}

void RateSection(std::ostream& out, const LogActivity& activity) {
  out << "<section aria-labelledby=\"rate\"><h2 id=\"rate\">Rate</h2>\n<dl>\n";
  Term(out, "QSOs with a time", std::to_string(activity.qsos));
  if (activity.qsos > 0) {
    Term(out, "Best 60 minutes",
         Plural(activity.bestSixtyMinutes, "QSO") + ", from " + TimeText(activity.bestSixtyStart) +
             " UTC");
    Term(out, "Time on the air",
         std::to_string(activity.minutesOnAir / kMinutesPerHour) + " h " +
             std::to_string(activity.minutesOnAir % kMinutesPerHour) +
             " min (a break counts after 60 minutes without a QSO)");
  }
  out << "</dl>\n</section>\n";
}

// What the check found to look at in this log: its category against its
// QSOs, its claim, its call.
void FindingsSection(std::ostream& out, const std::vector<const LogToLookAt*>& findings) {
  if (findings.empty()) return;
  out << "<section aria-labelledby=\"findings\"><h2 id=\"findings\">Findings</h2>\n<ul>\n";
  for (const LogToLookAt* finding : findings)
    out << "<li>" << Html(LookAtText(*finding)) << "</li>\n";
  out << "</ul>\n</section>\n";
}

// The report as its file has it, each list cut after kMostRowsShown rows:
// every line with its verdict is in the file beside the page.
void ReportSection(std::ostream& out, const CheckReport& report, const std::string& verdicts) {
  out << "<section aria-labelledby=\"check\"><h2 id=\"check\">Log-check report</h2>\n<p>"
      << "Checked against " << Plural(report.otherLogs, "other log") << ".</p>\n<dl>\n";
  Term(out, "Clock", report.clock);
  if (!report.sentSerials.empty()) Term(out, "Sent serials", report.sentSerials);
  out << "</dl>\n<p>" << Html(report.lineCounts) << "</p>\n";
  for (const ReportTable& section : report.sections) {
    if (section.rows.empty()) {
      out << "<p><strong>" << Html(section.title) << ":</strong> none</p>\n";
      continue;
    }
    WriteWideStart(out, section.title);
    out << "<table><caption>" << Html(section.title) << ": " << section.rows.size()
        << "</caption>\n<thead><tr>";
    for (const std::string& heading : section.headings)
      out << "<th scope=\"col\">" << Html(heading) << "</th>";
    out << "</tr></thead>\n<tbody>\n";
    for (std::size_t i = 0; i < section.rows.size() && i < kMostRowsShown; ++i) {
      out << "<tr>";
      for (const std::string& cell : section.rows[i]) out << "<td>" << Html(cell) << "</td>";
      out << "</tr>\n";
    }
    out << "</tbody></table></div>\n";
    if (section.rows.size() > kMostRowsShown)
      out << "<p>And " << section.rows.size() - kMostRowsShown << " more.</p>\n";
  }
  out << "<p><a href=\"" << Html(verdicts) << "\">Every line of the log with its verdict</a> "
      << "(CSV).</p>\n</section>\n";
}

void SoapboxSection(std::ostream& out, const StationHeader& station) {
  if (station.soapbox.empty()) return;
  out << "<section aria-labelledby=\"soapbox\"><h2 id=\"soapbox\">Soapbox</h2>\n<blockquote>";
  for (const std::string& line : station.soapbox) out << Html(line) << "\n";
  if (station.soapboxCut) out << "[...]\n";
  out << "</blockquote>\n</section>\n";
}

}  // namespace

void WriteEntrantPage(std::ostream& out, const SiteEntry& entry, const SiteContents& site,
                      const std::optional<CheckReport>& report) {
  const CheckedLog& log = *entry.log;
  const std::string call = log.log.callSign.empty() ? FileNameOf(log.log.file) : log.log.callSign;
  WritePageStart(out, call + ": " + site.publication.title,
                 {"Site", {{"../index.html", "All results"}}});
  WritePublication(out, site.publication);
  StationSection(out, entry);
  ScoreSection(out, entry, report);
  if (site.checked && !report)
    out << "<section aria-labelledby=\"check\"><h2 id=\"check\">Log check</h2>\n<p>"
        << Html(log.Status()) << "</p>\n</section>\n";
  RateSection(out, log.log.activity);
  out << "<section aria-labelledby=\"charts\"><h2 id=\"charts\">The log over time</h2>\n";
  WriteColumnChart(out, HourChart(log.log.activity, "hours", "QSOs per hour by band"));
  WriteColumnChart(out, QsosSoFarChart(log.log.activity, "so-far", "QSOs made so far"));
  out << "</section>\n";
  FindingsSection(out, entry.findings);
  if (report && site.reportsPrivate)
    out << "<section aria-labelledby=\"check\"><h2 id=\"check\">Log-check report</h2>\n<p>The "
           "report is the entrant's own: it is sent to the entrant, not published.</p>\n"
           "</section>\n";
  else if (report)
    ReportSection(out, *report, VerdictsFileOf(entry));
  SoapboxSection(out, log.log.station);
  WritePageEnd(out);
}

}  // namespace zeltra::organiser
