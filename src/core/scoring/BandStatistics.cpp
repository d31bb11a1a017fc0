#include "core/scoring/BandStatistics.h"

namespace zeltra {

BandStatistic& BandStatistics::FindOrAdd(std::string_view band) {
  if (const auto found = indexByName_.find(band); found != indexByName_.end())
    return items_[found->second];
  indexByName_.emplace(std::string(band), items_.size());
  return items_.emplace_back(BandStatistic{.name = std::string(band)});
}

void BandStatistics::Clear() {
  items_.clear();
  indexByName_.clear();
}

}  // namespace zeltra
