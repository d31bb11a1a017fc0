#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zeltra {

// Prefixes in a tree of one node per byte, built once from all of them, so
// that the longest prefix of a call is found in one pass over the call
// instead of one hashed look-up for each of its lengths. A node's children
// lie side by side, their bytes in an array of their own, so that the tree
// of a whole country file fits in a processor's cache; a node with many
// children (the first letters and digits of calls) finds the one it wants
// in a table by the byte's value instead of searching them.
class PrefixTrie {
 public:
  using Filing = std::pair<std::string, std::uint32_t>;  // a prefix and its value

  PrefixTrie() : PrefixTrie(std::vector<Filing>{}) {}
  // A prefix filed twice keeps its first value.
  explicit PrefixTrie(std::vector<Filing> prefixes);

  // The value of the longest prefix of text filed here; none when no
  // prefix of it is.
  std::optional<std::uint32_t> LongestPrefixOf(std::string_view text) const;

  std::size_t NodeCount() const { return nodes_.size(); }

 private:
  static constexpr std::uint32_t kNone = UINT32_MAX;

  // Past this many children a node gets a table.
  static constexpr std::uint32_t kSearchedChildren = 6;
  static constexpr std::size_t kByteValues = 256;

  struct Node {
    std::uint32_t firstChild = 0;  // children are nodes_[firstChild, firstChild + childCount)
    std::uint32_t childCount = 0;
    std::uint32_t value = kNone;
    std::uint32_t table = kNone;  // where its table starts in tables_, or kNone
  };
  std::uint32_t ChildOf(const Node& node, unsigned char byte) const;

  std::vector<Node> nodes_;
  std::vector<unsigned char> bytes_;  // the byte that leads from a node's parent to it
  // Per node with a table, kByteValues bytes: 0 for no child, otherwise
  // the child's place among the node's children plus one.
  std::vector<std::uint16_t> tables_;
};

// Inline, so that the look-up keeps its answer in registers: an optional
// returned from another unit went through memory and back at every call.
inline std::uint32_t PrefixTrie::ChildOf(const Node& node, unsigned char byte) const {
  if (node.table != kNone) {
    const std::uint16_t child = tables_[node.table + byte];
    return child == 0 ? kNone : node.firstChild + child - 1;
  }
  for (std::uint32_t child = node.firstChild; child < node.firstChild + node.childCount; ++child)
    if (bytes_[child] == byte) return child;
  return kNone;
}

inline std::optional<std::uint32_t> PrefixTrie::LongestPrefixOf(std::string_view text) const {
  std::uint32_t found = kNone;
  std::uint32_t node = 0;
  for (const char c : text) {
    node = ChildOf(nodes_[node], static_cast<unsigned char>(c));
    if (node == kNone) break;
    if (nodes_[node].value != kNone) found = nodes_[node].value;
  }
  if (found == kNone) return std::nullopt;
  return found;
}

}  // namespace zeltra
