#include "core/crosscheck/ClockOffsets.h"

#include <algorithm>
#include <numeric>

namespace zeltra {
namespace {

struct Neighbour {
  std::uint32_t log;
  std::int64_t difference;
};

}  // namespace

std::int64_t MedianNearerZero(std::vector<std::int64_t> values) {
  if (values.empty()) return 0;
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  const std::int64_t upper = *middle;
  if (values.size() % 2 == 1) return upper;
  const std::int64_t lower = *std::max_element(values.begin(), middle);
  const auto magnitude = [](std::int64_t value) { return value < 0 ? -value : value; };
  return magnitude(lower) <= magnitude(upper) ? lower : upper;
}

std::vector<std::int64_t> ClockOffsets(std::size_t logs, const std::vector<ClockPair>& pairs) {
  std::vector<std::vector<Neighbour>> neighbours(logs);
  for (const ClockPair& pair : pairs) {
    neighbours[pair.log].push_back({pair.partner, pair.difference});
    neighbours[pair.partner].push_back({pair.log, -pair.difference});
  }
  std::vector<std::uint32_t> order(logs);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    return neighbours[a].size() > neighbours[b].size();
  });
  std::vector<std::int64_t> offsets(logs, 0);
  std::vector<std::int64_t> differences;
  for (const std::uint32_t log : order) {
    if (neighbours[log].size() < kFewestPairsForAClock) continue;
    differences.clear();
    for (const Neighbour& neighbour : neighbours[log])
      differences.push_back(neighbour.difference + offsets[neighbour.log]);
    offsets[log] = MedianNearerZero(differences);
  }
  return offsets;
}

}  // namespace zeltra
