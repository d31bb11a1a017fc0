#include "tools/score/site/SiteContents.h"

#include <map>

namespace zeltra::score {
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

}  // namespace

std::optional<std::int64_t> RankingScore(const SiteEntry& entry, bool checked) {
  const CheckedLog& log = *entry.log;
  if (log.log.failed()) return std::nullopt;
  if (!checked) return log.log.score->score();
  if (!log.IsChecked()) return std::nullopt;
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

}  // namespace zeltra::score
