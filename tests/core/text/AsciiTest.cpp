#include "core/text/Ascii.h"

#include <gtest/gtest.h>

#include <string>

namespace zeltra {
namespace {

using namespace std::string_literals;

TEST(Ascii, UpperCasesOnlyAsciiLetters) {
  EXPECT_EQ(AsciiUpper("sp9abc/p"), "SP9ABC/P");
  EXPECT_EQ(AsciiUpper("\xe9\xb1z{`"), "\xe9\xb1Z{`");
  EXPECT_EQ(AsciiUpper("a\0b"s), "A\0B"s);
  std::string reused = "a longer text before";  // its room kept, its text replaced whole
  AssignAsciiUpper(reused, "sp9abc");
  EXPECT_EQ(reused, "SP9ABC");
}

TEST(Ascii, TrimRemovesCodesZeroToThirtyTwoAtBothEnds) {
  EXPECT_EQ(TrimControlAndBlank("\0\t 599 K \r\n\x1f"s), "599 K");
  EXPECT_EQ(TrimControlAndBlank(" \x21 "), "\x21");
  EXPECT_EQ(TrimControlAndBlank("\x7f"), "\x7f");
  EXPECT_EQ(TrimControlAndBlank("   "), "");
  // Bytes 0x80 to 0xFF are text: never trimmed, wherever they stand.
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    const std::string high(1, static_cast<char>(byte));
    SCOPED_TRACE(byte);
    EXPECT_EQ(TrimControlAndBlank(" " + high + "K" + high + "\t"), high + "K" + high);
    EXPECT_EQ(TrimControlAndBlank(high), high);
  }
}

TEST(Ascii, EqualityIgnoresTheCaseOfLettersOnly) {
  EXPECT_TRUE(EqualsIgnoringAsciiCase("sp9Abc", "SP9aBC"));
  EXPECT_TRUE(EqualsIgnoringAsciiCase("", ""));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("SP9ABC", "SP9AB"));
  // Bytes that differ by 0x20 but are no letters stay different.
  for (const auto& [a, b] : {std::pair{"@", "`"},
                             {"[", "{"},
                             {"]", "}"},
                             {"^", "~"},
                             {"0", "\x10"},
                             {"\xc1", "\xe1"},
                             {"\xd0", "\xf0"}})
    EXPECT_FALSE(EqualsIgnoringAsciiCase(a, b)) << a << " " << b;
}

TEST(Ascii, AllDigitsOnlyWhenEveryByteIsOne) {
  EXPECT_TRUE(AllDigits("0123456789"));
  EXPECT_TRUE(AllDigits("7"));
  // Nothing is no number; the bytes just beside the digits are none.
  for (const char* text : {"", "/", ":", "12 3", "123a", "a123", "1\x80", "-1", "+1"})
    EXPECT_FALSE(AllDigits(text)) << text;
}

}  // namespace
}  // namespace zeltra
