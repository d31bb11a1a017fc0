#include "core/text/Number.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace zeltra {
namespace {

TEST(Number, AWholeNumberAndNothingElse) {
  struct Case {
    const char* text;
    std::optional<std::uint64_t> value;
  };
  const Case cases[] = {
      {"0", 0},
      {"7", 7},
      {"0042", 42},
      {"18446744073709551615", UINT64_MAX},
      {"18446744073709551616", std::nullopt},  // one past the largest
      {"99999999999999999999", std::nullopt},
      {"", std::nullopt},
      {"-1", std::nullopt},
      {"+1", std::nullopt},
      {" 1", std::nullopt},
      {"1 ", std::nullopt},
      {"1a", std::nullopt},
      {"1.5", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(NumberOf<std::uint64_t>(c.text), c.value) << c.text;
  EXPECT_EQ(NumberOf<std::uint8_t>("255"), 255);
  EXPECT_EQ(NumberOf<std::uint8_t>("256"), std::nullopt);
  EXPECT_EQ(NumberOf<std::uint8_t>("260"), std::nullopt);
  EXPECT_EQ(NumberOf<int>("-12"), -12);
  EXPECT_EQ(NumberOf<double>("14.080"), 14.08);
}

}  // namespace
}  // namespace zeltra
