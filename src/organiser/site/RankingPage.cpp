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

void PageLinks(std::ostream& out, const Ranking& ranking, std::size_t page) {
  WritePageLinks(out, page, ranking.PageCount(),
                 [&](std::size_t other) { return ranking.PageFile(other); });
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
