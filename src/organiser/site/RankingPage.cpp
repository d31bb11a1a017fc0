#include "organiser/site/RankingPage.h"

#include <algorithm>
#include <string>
#include <vector>

#include "organiser/site/HtmlText.h"
#include "organiser/site/PageFrame.h"
#include "organiser/site/RankingTable.h"

namespace zeltra::organiser {
namespace {

constexpr std::string_view kToRoot = "../";

// "Page 2 of 5", with the pages before and after it.
void PageLinks(std::ostream& out, const Ranking& ranking, std::size_t page) {
  const std::size_t pages = ranking.PageCount();
  if (pages == 1) return;
  out << "<nav aria-label=\"Pages\"><p>Page " << page + 1 << " of " << pages;
  if (page > 0)
    out << " · <a href=\"" << Html(ranking.PageFile(page - 1)) << "\">the page before</a>";
  if (page + 1 < pages)
    out << " · <a href=\"" << Html(ranking.PageFile(page + 1)) << "\">the page after</a>";
  out << "</p></nav>\n";
}

}  // namespace

void WriteRankingPage(std::ostream& out, const SiteContents& site, const Ranking& ranking,
                      std::size_t page) {
  WritePageStart(out, ranking.title + ": " + site.publication.title,
                 {"Site", {{"../index.html", "All results"}}});
  WritePublication(out, site.publication);
  PageLinks(out, ranking, page);
  const std::size_t first = std::min(ranking.entries.size(), page * kLogsPerPage);
  const std::size_t end = std::min(ranking.entries.size(), first + kLogsPerPage);
  WriteRankingTable(out, ranking, first, end, site.checked, kToRoot);
  PageLinks(out, ranking, page);
  WritePageEnd(out);
}

}  // namespace zeltra::organiser
