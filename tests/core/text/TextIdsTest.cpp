#include "core/text/TextIds.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace zeltra {
namespace {

TEST(TextIds, TheSameTextTheSameNumberAndEveryTextKeptWhole) {
  // Short texts, texts that differ only past a NUL or in case, the empty
  // text, and texts longer than a block of the store, among many: numbered
  // as a map would number them, and every text still readable at the end.
  TextIds ids;
  std::map<std::string, std::uint32_t> expected;
  std::vector<std::string> byId;
  std::mt19937 random(11);
  const auto textNumber = [&](std::size_t n) -> std::string {
    switch (n % 7) {
      case 0:
        return "";
      case 1:
        return std::string(70000 + n % 3, static_cast<char>('a' + n % 5));
      case 2:
        return std::string("AB\0", 3) + std::to_string(n % 50);
      case 3:
        return "sp" + std::to_string(n % 300);
      default:
        return "SP" + std::to_string(n % 3000);
    }
  };
  for (int i = 0; i < 20000; ++i) {
    const std::string text = textNumber(random() % 40000);
    const auto [known, isNew] =
        expected.try_emplace(text, static_cast<std::uint32_t>(expected.size()));
    if (isNew) byId.push_back(text);
    ASSERT_EQ(ids.IdOf(text), known->second) << i;
    ASSERT_EQ(ids.Find(text), std::optional<std::uint32_t>(known->second)) << i;
  }
  EXPECT_FALSE(ids.Find("not numbered").has_value());
  EXPECT_FALSE(TextIds().Find("").has_value());
  ASSERT_EQ(ids.size(), byId.size());
  for (std::uint32_t id = 0; id < byId.size(); ++id) {
    EXPECT_EQ(ids.Text(id), byId[id]) << id;
    EXPECT_EQ(ids.texts()[id], byId[id]) << id;
  }
}

}  // namespace
}  // namespace zeltra
