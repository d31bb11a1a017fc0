#include "core/crosscheck/ClockOffsets.h"

#include <algorithm>
#include <numeric>

namespace zeltra {
namespace {

// A clear majority: two in three.
constexpr std::size_t kMajorityThirds = 2;
constexpr std::size_t kThirds = 3;

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

std::vector<ClockJudgement> ClockOffsets(std::size_t logs, const std::vector<ClockPair>& pairs) {
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
  std::vector<ClockJudgement> judged(logs);
  std::vector<std::int64_t> differences;
  const auto within = [&](std::int64_t offset, std::int64_t by) {
    return static_cast<std::size_t>(
        std::count_if(differences.begin(), differences.end(), [&](std::int64_t difference) {
          return difference - offset <= by && offset - difference <= by;
        }));
  };
  for (const std::uint32_t log : order) {
    differences.clear();
    for (const Neighbour& neighbour : neighbours[log])
      differences.push_back(neighbour.difference + judged[neighbour.log].offset);
    ClockJudgement& judgement = judged[log];
    judgement.pairs = differences.size();
    std::int64_t offset = 0;
    if (differences.size() >= kFewestPairsForAClock) offset = MedianNearerZero(differences);
    const std::size_t clear = (differences.size() * kMajorityThirds + kThirds - 1) / kThirds;
    const bool oneMinute = offset == 1 || offset == -1;
    if (within(offset, 1) < clear || (oneMinute && within(offset, 0) < clear)) offset = 0;
    judgement.offset = offset;
  }
  // What each judgement rests on, told once every clock is known.
  for (std::uint32_t log = 0; log < logs; ++log) {
    differences.clear();
    for (const Neighbour& neighbour : neighbours[log])
      differences.push_back(neighbour.difference + judged[neighbour.log].offset);
    judged[log].agreeing = within(judged[log].offset, 1);
  }
  return judged;
}

}  // namespace zeltra
