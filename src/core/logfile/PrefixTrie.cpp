#include "core/logfile/PrefixTrie.h"

#include <algorithm>
#include <deque>

namespace zeltra {

PrefixTrie::PrefixTrie(std::vector<Filing> prefixes) {
  // Sorted, a node's prefixes are one stretch of the list: those that end
  // at the node first (the earliest filed of them first, the sort being
  // stable), then its children's, each child's together.
  std::stable_sort(prefixes.begin(), prefixes.end(),
                   [](const Filing& a, const Filing& b) { return a.first < b.first; });
  struct Pending {
    std::uint32_t node;
    std::size_t begin;
    std::size_t end;
    std::size_t depth;
  };
  nodes_.emplace_back();
  bytes_.push_back(0);
  // Breadth first, so that each node's children are added side by side.
  std::deque<Pending> pending{{0, 0, prefixes.size(), 0}};
  while (!pending.empty()) {
    const Pending at = pending.front();
    pending.pop_front();
    std::size_t i = at.begin;
    if (i < at.end && prefixes[i].first.size() == at.depth) {
      nodes_[at.node].value = prefixes[i].second;
      while (i < at.end && prefixes[i].first.size() == at.depth) ++i;
    }
    nodes_[at.node].firstChild = static_cast<std::uint32_t>(nodes_.size());
    while (i < at.end) {
      const char byte = prefixes[i].first[at.depth];
      std::size_t next = i;
      while (next < at.end && prefixes[next].first[at.depth] == byte) ++next;
      const auto child = static_cast<std::uint32_t>(nodes_.size());
      nodes_.emplace_back();
      bytes_.push_back(static_cast<unsigned char>(byte));
      ++nodes_[at.node].childCount;
      pending.push_back({child, i, next, at.depth + 1});
      i = next;
    }
    Node& node = nodes_[at.node];
    if (node.childCount > kSearchedChildren) {
      node.table = static_cast<std::uint32_t>(tables_.size());
      tables_.resize(tables_.size() + kByteValues, 0);
      for (std::uint32_t child = 0; child < node.childCount; ++child)
        tables_[node.table + bytes_[node.firstChild + child]] =
            static_cast<std::uint16_t>(child + 1);
    }
  }
}

}  // namespace zeltra
