#include "core/crosscheck/NearCalls.h"

#include <gtest/gtest.h>

namespace zeltra {
namespace {

TEST(NearCalls, OneSlipIsOneCharacterPutAddedLeftOutOrSwapped) {
  struct Case {
    const char* a;
    const char* b;
    bool near;
  };
  const Case cases[] = {
      {"SP1ABC", "SP1ABD", true},   // one put for another, last
      {"SP1ABC", "SQ1ABC", true},   // ... in the middle
      {"SP1ABC", "XP1ABC", true},   // ... first
      {"SP1ABC", "SP1ABCD", true},  // one added at the end
      {"SP1ABC", "SSP1ABC", true},  // ... at the start
      {"SP1ABC", "SP1AC", true},    // one left out
      {"SP1ABC", "SP1ACB", true},   // two neighbours swapped
      {"SP1ABC", "PS1ABC", true},   // ... at the start
      {"SP1ABC", "SP1ABC", false},  // the same call
      {"SP1ABC", "SP1CBA", false},  // two far apart swapped
      {"SP1ABC", "SP1AXY", false},  // two put
      {"SP1ABC", "SP1A", false},    // two left out
      {"SP1ABC", "SP1ABCDE", false}, {"", "A", true}, {"", "", false},
  };
  for (const Case& test : cases) {
    EXPECT_EQ(OneEditApart(test.a, test.b), test.near) << test.a << " " << test.b;
    EXPECT_EQ(OneEditApart(test.b, test.a), test.near) << test.b << " " << test.a;
  }
}

// A lost letters/figures shift in RTTY turns figures into the letters on
// their keys, or the reverse: one slip, however many figures it turns.
TEST(NearCalls, ALostShiftIsOneSlip) {
  struct Case {
    const char* a;
    const char* b;
    bool shifted;
  };
  const Case cases[] = {
      {"SP9AHW", "SPOAHW", true},  {"DL100A", "DLQPPA", true},  {"SP1QAA", "SPQ1AA", true},
      {"SP2BBB", "SPWBBB", true},  {"SP3CCC", "SPECCC", true},  {"SP0XYZ", "SPPXYZ", true},
      {"SP9AHW", "SP9AHW", false}, {"SP9AHW", "SPPAHW", false}, {"SP9AHW", "SPOAH", false},
  };
  for (const Case& test : cases) {
    EXPECT_EQ(ShiftApart(test.a, test.b), test.shifted) << test.a << " " << test.b;
    EXPECT_EQ(ShiftApart(test.b, test.a), test.shifted) << test.b << " " << test.a;
    EXPECT_EQ(OneSlipApart(test.a, test.b), test.shifted || OneEditApart(test.a, test.b));
  }
  const std::vector<std::string_view> calls = {"SP9AHW", "DL100A", "SP1ABC"};
  const NearCallIndex index(calls);
  EXPECT_EQ(index.Near("SPOAHW"), (std::vector<std::uint32_t>{0}));
  EXPECT_EQ(index.Near("DLQPPA"), (std::vector<std::uint32_t>{1}));
  EXPECT_EQ(index.Near("SPQABC"), (std::vector<std::uint32_t>{2}));
}

TEST(NearCalls, TheIndexFindsEveryCallOneSlipAwayAndNoOther) {
  const std::vector<std::string_view> calls = {"SP1ABC", "SP1ABD",  "SP1ACB", "SP1AB",
                                               "DL1ABC", "SP1ABCD", "SP1XYZ", "SP1ABC"};
  const NearCallIndex index(calls);
  EXPECT_EQ(index.Near("SP1ABC"), (std::vector<std::uint32_t>{1, 2, 3, 5}));
  EXPECT_EQ(index.Near("SP1ABX"), (std::vector<std::uint32_t>{0, 1, 3, 7}));
  EXPECT_EQ(index.Near("SP1XY"), (std::vector<std::uint32_t>{6}));
  EXPECT_TRUE(index.Near("JA1ZZZ").empty());
}

}  // namespace
}  // namespace zeltra
