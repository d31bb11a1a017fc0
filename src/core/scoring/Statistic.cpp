#include "core/scoring/Statistic.h"

namespace zeltra {

TStatistic& StatList::FindOrAdd(std::string_view band) {
  if (const auto found = indexByName_.find(band); found != indexByName_.end())
    return items_[found->second];
  indexByName_.emplace(std::string(band), items_.size());
  return items_.emplace_back(TStatistic{.Name = std::string(band)});
}

void StatList::Clear() {
  items_.clear();
  indexByName_.clear();
}

}  // namespace zeltra
