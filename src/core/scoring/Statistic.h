#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zeltra {

// The counters of one band. They are 64-bit so that no log, however long,
// can make a counter or a sum of counters wrap.
struct TStatistic {
  std::string Name;  // the band text, exactly as the host wrote it
  std::int64_t QSOs = 0;
  std::int64_t Points = 0;
  std::int64_t Voivodeships = 0;
  std::int64_t DXCCs = 0;
  std::int64_t Continents = 0;
};

// One TStatistic per distinct band text, in order of first appearance. The
// band look-up is exact and case-sensitive.
class StatList {
 public:
  // The statistic named band, appended with all counters 0 when missing.
  TStatistic& FindOrAdd(std::string_view band);
  void Clear();

  const std::vector<TStatistic>& Items() const { return items_; }

 private:
  std::vector<TStatistic> items_;
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
      return std::hash<std::string_view>{}(name);
    }
  };
  std::unordered_map<std::string, std::size_t, Hash, std::equal_to<>> indexByName_;
};

}  // namespace zeltra
