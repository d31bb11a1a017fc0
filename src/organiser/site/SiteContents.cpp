#include "organiser/site/SiteContents.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "core/text/Ascii.h"
#include "core/text/Utf8.h"
#include "organiser/files/FileNames.h"
#include "organiser/files/ReportNames.h"
#include "organiser/scoring/Places.h"

namespace zeltra::organiser {
namespace {

template <class GroupOf>
std::vector<Leader> Leaders(const SiteContents& site, GroupOf groupOf) {
  std::map<std::string, const SiteEntry*> best;
  for (const SiteEntry& entry : site.ranked) {
    if (!entry.rank) continue;
    const std::string& group = groupOf(entry);
    if (!group.empty()) best.try_emplace(group, &entry);
  }
  std::vector<Leader> leaders;
  for (const auto& [group, entry] : best) leaders.push_back({group, entry});
  return leaders;
}

// A club's name as logs are compared by it: UTF-8, spacing collapsed,
// upper case.
std::string ClubKey(const std::string& club) {
  std::string key;
  bool blank = false;
  for (const char c : AsUtf8(club)) {
    if (c == ' ' || c == '\t') {
      blank = !key.empty();
      continue;
    }
    if (blank) key += ' ';
    blank = false;
    key += AsciiUpper(c);
  }
  return key;
}

std::vector<ClubTotal> ClubTotals(const SiteContents& site) {
  std::vector<ClubTotal> clubs;
  std::unordered_map<std::string, std::size_t> byKey;
  for (const SiteEntry& entry : site.ranked) {
    const std::optional<std::int64_t> score = RankingScore(entry, site.checked);
    const std::string key = ClubKey(entry.log->log.station.club);
    if (!entry.rank || !score || key.empty()) continue;
    const auto [found, isNew] = byKey.try_emplace(key, clubs.size());
    if (isNew) clubs.push_back({entry.log->log.station.club, 0, 0});
    clubs[found->second].score += *score;
    ++clubs[found->second].logs;
  }
  std::stable_sort(clubs.begin(), clubs.end(), [](const ClubTotal& a, const ClubTotal& b) {
    return a.score != b.score ? a.score > b.score : a.club < b.club;
  });
  return clubs;
}

std::vector<Ranking> RankingsOf(const SiteContents& site, ReportNames& names) {
  std::vector<Ranking> rankings;
  Ranking overall{.title = site.checked ? "All logs, by checked score" : "All logs, by score",
                  .name = names.For("ALL", ""),
                  .entries = {},
                  .places = {}};
  for (const SiteEntry& entry : site.ranked)
    if (entry.rank) {
      overall.entries.push_back(&entry);
      overall.places.push_back(*entry.rank);
    }
  for (std::size_t first = 0; first < site.byCategory.size();) {
    const std::string& category = site.byCategory[first]->log->log.categories;
    Ranking ranking{.title = category.empty() ? "No category given" : category,
                    .name = names.For(category.empty() ? "none" : category, ""),
                    .entries = {},
                    .places = {}};
    std::size_t end = first;
    for (; end < site.byCategory.size() && site.byCategory[end]->log->log.categories == category;
         ++end) {
      ranking.entries.push_back(site.byCategory[end]);
      ranking.places.push_back(*site.byCategory[end]->categoryRank);
    }
    rankings.push_back(std::move(ranking));
    first = end;
  }
  // Each overlay declared ranks its logs again, in the overall order.
  std::map<std::string, Ranking> overlays;
  std::map<std::string, Places> overlayPlaces;
  for (const SiteEntry* entry : overall.entries) {
    const std::string& overlay = entry->log->log.declared.Value(CategoryKey::kOverlay);
    if (overlay.empty()) continue;
    Ranking& ranking = overlays[overlay];
    ranking.entries.push_back(entry);
    ranking.places.push_back(
        overlayPlaces[overlay].Next(RankingScore(*entry, site.checked).value_or(0)));
  }
  for (auto& [overlay, ranking] : overlays) {
    ranking.title = "Overlay: " + overlay;
    ranking.name = names.For("OVERLAY " + overlay, "");
    rankings.push_back(std::move(ranking));
  }
  rankings.insert(rankings.begin(), std::move(overall));
  return rankings;
}

}  // namespace

namespace {

std::string PageFileNamed(const std::string& name, std::size_t page) {
  return name + (page == 0 ? std::string() : "." + std::to_string(page + 1)) + ".html";
}

std::size_t PagesFor(std::size_t rows) {
  return std::max<std::size_t>(1, (rows + kLogsPerPage - 1) / kLogsPerPage);
}

}  // namespace

std::size_t Ranking::PageCount() const {
  return PagesFor(entries.size());
}

std::string Ranking::PageFile(std::size_t page) const {
  return PageFileNamed(name, page);
}

std::size_t ReceivedPageCount(const SiteContents& site) {
  return PagesFor(site.byCall.size() + site.notScored.size());
}

std::string ReceivedPageFile(const SiteContents& site, std::size_t page) {
  return PageFileNamed(site.receivedName, page);
}

SiteContents SiteContentsOf(const std::vector<CheckedLog>& logs,
                            const std::vector<NotScored>& notScored, const CheckSummary* summary,
                            bool checked) {
  SiteContents site;
  site.checked = checked;
  site.summary = summary;
  site.notScored = notScored;
  std::unordered_map<const CheckedLog*, std::size_t> place;
  Places overall;
  for (const RankedLog& ranked : RankedByCheckedScore(logs, false)) {
    SiteEntry entry{.log = ranked.log,
                    .page = {},
                    .rank = ranked.rank,
                    .categoryRank = {},
                    .countryRank = {},
                    .voivodeshipRank = {},
                    .findings = {}};
    if (!checked && !ranked.log->log.Failed())
      entry.rank = overall.Next(ranked.log->log.score->Score());
    place[ranked.log] = site.ranked.size();
    site.ranked.push_back(std::move(entry));
  }
  if (summary != nullptr)
    for (const LogToLookAt& finding : summary->logsToLookAt)
      if (const auto at = place.find(finding.log); at != place.end())
        site.ranked[at->second].findings.push_back(&finding);
  std::string category;
  Places inCategory;
  std::map<std::string, Places> inCountry;  // within the category
  std::map<char, Places> inVoivodeship;
  for (const RankedLog& ranked : RankedByCheckedScore(logs, true)) {
    SiteEntry& entry = site.ranked[place.at(ranked.log)];
    if (!entry.rank) continue;
    if (site.byCategory.empty() || ranked.log->log.categories != category) {
      inCategory = Places();
      inCountry.clear();
      inVoivodeship.clear();
    }
    category = ranked.log->log.categories;
    entry.categoryRank = checked ? ranked.rank : inCategory.Next(ranked.log->log.score->Score());
    if (const std::string& country = ranked.log->log.own.dxccPrefix; !country.empty())
      entry.countryRank = inCountry[country].Next(*RankingScore(entry, checked));
    if (const std::optional<char> letter = ranked.log->voivodeship)
      entry.voivodeshipRank = inVoivodeship[*letter].Next(*RankingScore(entry, checked));
    site.byCategory.push_back(&entry);
  }
  ReportNames names;
  std::vector<const LogActivity*> activities;
  for (SiteEntry& entry : site.ranked) {
    const LogResult& log = entry.log->log;
    if (log.Failed()) continue;
    const std::string call = log.callSign.empty() ? NameOf(PathOf(log.file).stem()) : log.callSign;
    entry.page = std::string(kEntrantsFolder) + "/" + names.For(call, ".html");
    activities.push_back(&log.activity);
  }
  site.contest = SumOf(activities);
  ReportNames pageNames;
  site.receivedName = pageNames.For("RECEIVED", "");
  site.rankings = RankingsOf(site, pageNames);
  for (const SiteEntry& entry : site.ranked) site.byCall.push_back(&entry);
  const auto key = [](const SiteEntry* entry) {
    const LogResult& log = entry->log->log;
    return std::make_pair(log.callSign.empty() ? FileNameOf(log.file) : log.callSign,
                          FileNameOf(log.file));
  };
  std::stable_sort(site.byCall.begin(), site.byCall.end(),
                   [&](const SiteEntry* a, const SiteEntry* b) { return key(a) < key(b); });
  site.clubs = ClubTotals(site);
  return site;
}

std::string PageFileOf(const SiteEntry& entry) {
  return FileNameOf(entry.page);
}

std::string VerdictsFileOf(const SiteEntry& entry) {
  return NameOf(PathOf(PageFileOf(entry)).replace_extension(".csv"));
}

std::optional<std::int64_t> RankingScore(const SiteEntry& entry, bool checked) {
  const CheckedLog& log = *entry.log;
  if (log.log.Failed()) return std::nullopt;
  if (!checked) return log.log.score->Score();
  if (!log.IsRanked()) return std::nullopt;
  return log.CheckedScore();
}

std::vector<Leader> LeadersByContinent(const SiteContents& site) {
  return Leaders(site, [](const SiteEntry& entry) -> const std::string& {
    return entry.log->log.own.continent;
  });
}

std::vector<Leader> LeadersByCountry(const SiteContents& site) {
  return Leaders(site, [](const SiteEntry& entry) -> const std::string& {
    return entry.log->log.own.dxccPrefix;
  });
}

}  // namespace zeltra::organiser
