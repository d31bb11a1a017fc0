#include "core/logfile/PrefixTrie.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace zeltra {
namespace {

// The longest filed prefix by looking at every one: what the tree must answer.
std::optional<std::uint32_t> LongestByHand(const std::vector<PrefixTrie::Filing>& prefixes,
                                           std::string_view text) {
  std::optional<std::uint32_t> found;
  std::size_t foundLength = 0;
  for (const auto& [prefix, value] : prefixes)
    if (!prefix.empty() && text.substr(0, prefix.size()) == prefix &&
        (!found || prefix.size() > foundLength)) {
      found = value;
      foundLength = prefix.size();
    }
  return found;
}

TEST(PrefixTrie, FindsTheLongestPrefixFiled) {
  // "S" has more children than are searched one by one: they are found
  // through the node's table, the others by search.
  const std::vector<PrefixTrie::Filing> prefixes = {
      {"SP", 1}, {"SP9", 2}, {"SQ", 3}, {"SR", 4},   {"SN", 5},  {"SO", 6},  {"S5", 7},
      {"S0", 8}, {"S/", 9},  {"K", 10}, {"KH6", 11}, {"SP", 12}, {"X#", 13}, {"\xC5\x81", 14}};
  const PrefixTrie trie(prefixes);
  struct Case {
    const char* text;
    std::optional<std::uint32_t> value;
  };
  const Case cases[] = {
      {"SP1ABC", 1},  // the first filing of "SP" counts, not the second
      {"SP9ABC", 2},     {"SQ9ABC", 3},  {"S51A", 7}, {"S/X", 9},
      {"SZ1ABC", {}},  // "S" itself is not filed
      {"KH6ABC", 11},    {"KH7ABC", 10}, {"K", 10},   {"KH", 10},
      {"X#1", 13},  // any byte, not only letters and digits
      {"\xC5\x81X", 14}, {"\xC5", {}},   {"", {}},    {"W1AW", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(trie.LongestPrefixOf(c.text), c.value) << c.text;
  EXPECT_EQ(PrefixTrie().LongestPrefixOf("SP"), std::nullopt);
}

TEST(PrefixTrie, AnswersAsAComparisonWithEveryPrefixDoes) {
  // Random prefixes over a few bytes, so that nodes of every width occur,
  // some bytes above 127 and a NUL among them.
  const std::string bytes = std::string("ABKSUW0129/") + '\0' + "\xC5\xFF";
  std::mt19937 random(17);
  const auto text = [&](std::size_t longest) {
    std::string made(1 + random() % longest, ' ');
    for (char& c : made) c = bytes[random() % bytes.size()];
    return made;
  };
  std::vector<PrefixTrie::Filing> prefixes;
  for (std::uint32_t i = 0; i < 600; ++i) prefixes.emplace_back(text(4), i);
  const PrefixTrie trie(prefixes);
  for (int i = 0; i < 3000; ++i) {
    const std::string call = text(7);
    ASSERT_EQ(trie.LongestPrefixOf(call), LongestByHand(prefixes, call)) << call;
  }
}

}  // namespace
}  // namespace zeltra
