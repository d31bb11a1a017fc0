#include "organiser/scoring/ContactRows.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace zeltra::organiser {
namespace {

using Kind = LeftOutReason::Kind;

std::vector<std::pair<LeftOutReason, std::size_t>> Modes(std::size_t count) {
  std::vector<std::pair<LeftOutReason, std::size_t>> reasons;
  for (std::size_t i = 0; i < count; ++i)
    reasons.push_back({{Kind::kMode, "M" + std::to_string(i)}, i + 1});
  return reasons;
}

TEST(ContactRows, LeftOutReasonsAreWordedAndAFewNamed) {
  struct Case {
    const char* name;
    std::vector<std::pair<LeftOutReason, std::size_t>> reasons;
    std::string summary;
  };
  const Case cases[] = {
      {"one", {{{Kind::kMode, "FT8"}, 1}}, "1 contact in FT8 left out"},
      {"every kind",
       {{{Kind::kBand, "50"}, 2},
        {{Kind::kNoDateAndTime, ""}, 1},
        {{Kind::kBeforePeriod, ""}, 3},
        {{Kind::kAfterPeriod, ""}, 1}},
       "2 contacts on 50 MHz, 1 without date and time, 3 before --from and 1 at or after --to "
       "left out"},
      {"six: all named", Modes(6),
       "1 contact in M0, 2 in M1, 3 in M2, 4 in M3, 5 in M4 and 6 in M5 left out"},
      {"seven: five named, the rest counted", Modes(7),
       "1 contact in M0, 2 in M1, 3 in M2, 4 in M3, 5 in M4 and 13 for 2 other reasons left out"},
      {"a thousand", Modes(1000),
       "1 contact in M0, 2 in M1, 3 in M2, 4 in M3, 5 in M4 and 500485 for 995 other reasons "
       "left out"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LeftOutSummary(c.reasons), c.summary);
  }
  EXPECT_EQ(LeftOutText({Kind::kMode, "FT8"}), "mode FT8");
  EXPECT_EQ(LeftOutText({Kind::kBand, "50"}), "band 50");
  EXPECT_EQ(LeftOutText({Kind::kNoDateAndTime, ""}), "no date and time");
  EXPECT_EQ(LeftOutText({Kind::kBeforePeriod, ""}), "before --from");
  EXPECT_EQ(LeftOutText({Kind::kAfterPeriod, ""}), "at or after --to");
}

}  // namespace
}  // namespace zeltra::organiser
