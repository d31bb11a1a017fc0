#include "organiser/site/ReceivedPage.h"

#include <algorithm>
#include <string>
#include <vector>

#include "organiser/files/FileNames.h"
#include "organiser/site/HtmlText.h"
#include "organiser/site/PageFrame.h"
#include "organiser/site/RankingTable.h"

namespace zeltra::organiser {

void WriteReceivedTable(std::ostream& out, const SiteContents& site, const std::string& caption,
                        const std::vector<std::size_t>& rows, std::string_view toRoot) {
  WriteWideStart(out, caption);
  out << "<table><caption>" << Html(caption)
      << "</caption>\n<thead><tr><th scope=\"col\">Call</th><th scope=\"col\">File</th><th "
         "scope=\"col\">Categories</th><th scope=\"col\" class=\"n\">QSOs</th><th "
         "scope=\"col\">Status</th></tr></thead>\n<tbody>\n";
  for (const std::size_t row : rows) {
    if (row >= site.byCall.size()) {
      const NotScored& file = site.notScored[row - site.byCall.size()];
      out << "<tr><td></td><td>" << HtmlShort(FileNameOf(file.file), kLongestInTable)
          << "</td><td></td><td></td><td>" << Html(file.reason) << "</td></tr>\n";
      continue;
    }
    const SiteEntry& entry = *site.byCall[row];
    const CheckedLog& log = *entry.log;
    out << "<tr>";
    WriteCallCell(out, entry, toRoot);
    out << "<td>" << HtmlShort(log.FileNames(), kLongestInTable) << "</td><td>"
        << HtmlShort(log.log.categories, kLongestInTable) << "</td><td class=\"n\">";
    if (!log.log.Failed()) out << log.log.score->qsos;
    out << "</td><td>" << Html(site.checked ? log.Status() : log.log.Status()) << "</td></tr>\n";
  }
  out << "</tbody></table></div>\n";
}

void WriteReceivedPage(std::ostream& out, const SiteContents& site, std::size_t page) {
  WritePageStart(out, "Logs received: " + site.publication.title,
                 {"Site", {{"../index.html", "All results"}}});
  WritePublication(out, site.publication);
  WritePageLinks(out, page, ReceivedPageCount(site),
                 [&](std::size_t other) { return ReceivedPageFile(site, other); });
  const std::size_t total = site.byCall.size() + site.notScored.size();
  std::vector<std::size_t> rows;
  for (std::size_t row = page * kLogsPerPage; row < total && row < (page + 1) * kLogsPerPage; ++row)
    rows.push_back(row);
  WriteReceivedTable(out, site, "Every file received, and what became of it", rows, "../");
  WritePageEnd(out);
}

}  // namespace zeltra::organiser
