#include "core/logfile/PrefixTrie.h"

namespace zeltra {

int PrefixTrie::SignOf(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= '0' && c <= '9') return 26 + (c - '0');
  if (c == '/') return 36;
  return -1;
}

bool PrefixTrie::Holds(std::string_view text) {
  for (const char c : text)
    if (SignOf(c) < 0) return false;
  return true;
}

void PrefixTrie::Insert(std::string_view prefix, std::uint32_t value) {
  std::uint32_t node = 0;
  for (const char c : prefix) {
    const auto sign = static_cast<std::size_t>(SignOf(c));
    if (nodes_[node].next[sign] == kNone) {
      nodes_[node].next[sign] = static_cast<std::uint32_t>(nodes_.size());
      nodes_.emplace_back();
    }
    node = nodes_[node].next[sign];
  }
  if (nodes_[node].value == kNone) nodes_[node].value = value;
}

std::optional<std::uint32_t> PrefixTrie::LongestPrefixOf(std::string_view text) const {
  std::optional<std::uint32_t> found;
  std::uint32_t node = 0;
  for (const char c : text) {
    const int sign = SignOf(c);
    if (sign < 0) break;
    node = nodes_[node].next[static_cast<std::size_t>(sign)];
    if (node == kNone) break;
    if (nodes_[node].value != kNone) found = nodes_[node].value;
  }
  return found;
}

}  // namespace zeltra
