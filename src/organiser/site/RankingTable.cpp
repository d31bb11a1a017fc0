#include "organiser/site/RankingTable.h"

#include "organiser/results/CheckReport.h"
#include "organiser/site/HtmlText.h"
#include "organiser/site/PageFrame.h"

namespace zeltra::organiser {

void WriteNumberCell(std::ostream& out, std::int64_t value) {
  out << "<td class=\"n\">" << value << "</td>";
}

void WriteCallCell(std::ostream& out, const SiteEntry& entry, std::string_view toRoot) {
  out << "<th scope=\"row\">";
  const std::string call = entry.log->log.callSign.empty() ? "?" : entry.log->log.callSign;
  if (entry.page.empty())
    out << HtmlShort(call, kLongestInTable);
  else
    out << "<a href=\"" << Html(std::string(toRoot) + entry.page) << "\">"
        << HtmlShort(call, kLongestInTable) << "</a>";
  out << "</th>";
}

void WriteRankingTable(std::ostream& out, const Ranking& ranking, std::size_t first,
                       std::size_t end, bool checked, std::string_view toRoot) {
  const std::string& caption = ranking.title;
  WriteWideStart(out, caption);
  out << "<table><caption>" << HtmlShort(caption, kLongestInTable)
      << "</caption>\n<thead><tr><th scope=\"col\" class=\"n\">Rank</th><th "
         "scope=\"col\">Call</th><th scope=\"col\" class=\"n\">"
      << (checked ? "Checked score" : "Score")
      << "</th><th scope=\"col\">Categories</th><th scope=\"col\" class=\"n\">QSOs</th><th "
         "scope=\"col\" class=\"n\">Claimed</th>";
  if (checked)
    out << "<th scope=\"col\" class=\"n\">Before the check</th><th scope=\"col\" "
           "class=\"n\">Reduction</th><th scope=\"col\" class=\"n\">NIL</th><th scope=\"col\" "
           "class=\"n\">Busted calls</th><th scope=\"col\" class=\"n\">Busted exchanges</th><th "
           "scope=\"col\" class=\"n\">Uniques</th>";
  out << "</tr></thead>\n<tbody>\n";
  for (std::size_t row = first; row < end && row < ranking.entries.size(); ++row) {
    const SiteEntry* entry = ranking.entries[row];
    const CheckedLog& log = *entry->log;
    const LogScore& before = *log.log.score;
    out << "<tr><td class=\"n\">" << ranking.places[row] << "</td>";
    WriteCallCell(out, *entry, toRoot);
    WriteNumberCell(out, checked ? log.CheckedScore() : before.Score());
    out << "<td>" << HtmlShort(log.log.categories, kLongestInTable) << "</td>";
    WriteNumberCell(out, before.qsos);
    out << "<td class=\"n\">" << HtmlShort(log.log.claimed.value_or(""), kLongestInTable)
        << "</td>";
    if (checked) {
      WriteNumberCell(out, before.Score());
      out << "<td class=\"n\">" << PerCent(before.Score() - log.CheckedScore(), before.Score())
          << "</td>";
      WriteNumberCell(out, static_cast<std::int64_t>(log.Count(Verdict::kNil)));
      WriteNumberCell(out, static_cast<std::int64_t>(log.Count(Verdict::kBustedCall)));
      WriteNumberCell(out, static_cast<std::int64_t>(log.Count(Verdict::kBustedExchange)));
      WriteNumberCell(out, static_cast<std::int64_t>(log.Count(Verdict::kUnique)));
    }
    out << "</tr>\n";
  }
  out << "</tbody></table></div>\n";
}

}  // namespace zeltra::organiser
