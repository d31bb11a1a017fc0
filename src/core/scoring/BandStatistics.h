#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/text/TextHash.h"

namespace zeltra {

// The counters of one band. They are 64-bit so that no log, however long,
// can make a counter or a sum of counters wrap.
struct BandStatistic {
  std::string name;  // the band text, exactly as the host wrote it
  std::int64_t qsos = 0;
  std::int64_t points = 0;
  std::int64_t voivodeships = 0;
  std::int64_t dxccs = 0;
  std::int64_t continents = 0;
};

// One BandStatistic per distinct band text, in order of first appearance. The
// band look-up is exact and case-sensitive.
class BandStatistics {
 public:
  // The statistic named band, appended with all counters 0 when missing.
  BandStatistic& FindOrAdd(std::string_view band);
  void Clear();

  const std::vector<BandStatistic>& items() const { return items_; }

 private:
  std::vector<BandStatistic> items_;
  std::unordered_map<std::string, std::size_t, TextHash, std::equal_to<>> indexByName_;
};

}  // namespace zeltra
