#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace zeltra {

// Call-sign prefixes (upper-case letters, digits and "/") in a tree of one
// node per character, so that the longest prefix of a call is found in one
// pass over the call instead of one hashed look-up for each of its lengths.
class PrefixTrie {
 public:
  // Whether every character of text can be stored.
  static bool Holds(std::string_view text);

  // Files value under prefix; a prefix filed already keeps its first value.
  // The prefix must be one Holds answers true for.
  void Insert(std::string_view prefix, std::uint32_t value);

  // The value of the longest prefix of text filed here; none when no
  // prefix of it is. A character that cannot be stored ends the search.
  std::optional<std::uint32_t> LongestPrefixOf(std::string_view text) const;

 private:
  static constexpr std::size_t kSigns = 37;  // A-Z, 0-9, "/"
  static constexpr std::uint32_t kNone = UINT32_MAX;
  static int SignOf(char c);

  struct Node {
    std::array<std::uint32_t, kSigns> next;
    std::uint32_t value = kNone;
    Node() { next.fill(kNone); }
  };
  std::vector<Node> nodes_ = std::vector<Node>(1);  // the root
};

}  // namespace zeltra
