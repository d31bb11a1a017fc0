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

}  // namespace
}  // namespace zeltra
