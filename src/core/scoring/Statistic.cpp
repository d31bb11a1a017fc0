#include "scoring/Statistic.h"

namespace zeltra {

TStatistic& StatList::FindOrAdd(std::string_view band) {
  const auto [it, added] = indexByName_.try_emplace(std::string(band), items_.size());
  if (added) items_.push_back(TStatistic{.Name = std::string(band)});
  return items_[it->second];
}

void StatList::Clear() {
  items_.clear();
  indexByName_.clear();
}

}  // namespace zeltra
