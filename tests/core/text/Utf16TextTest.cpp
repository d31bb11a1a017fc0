#include "core/text/Utf16Text.h"

#include <gtest/gtest.h>

#include <istream>
#include <iterator>
#include <sstream>
#include <string>

namespace zeltra {
namespace {

std::string Utf16(std::u16string_view text, bool bigEndian) {
  std::string bytes;
  for (const char16_t unit : text) {
    const auto high = static_cast<char>(unit >> 8);
    const auto low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

std::string AsUtf8(const std::string& bytes, bool bigEndian) {
  std::stringbuf source(bytes);
  Utf16Text text(source, bigEndian);
  std::istream in(&text);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(Utf16Text, ReadsAsUtf8) {
  struct Case {
    const char* name;
    std::u16string text;
    std::string utf8;
  };
  const Case cases[] = {
      {"ASCII", u"<CALL:4>W1AW", "<CALL:4>W1AW"},
      {"Polish letters", u"\u0141\u00f3d\u017a",
       "\xC5\x81\xC3\xB3"
       "d\xC5\xBA"},
      {"a surrogate pair", u"73 \U0001F4FB", "73 \xF0\x9F\x93\xBB"},
      {"a lone high surrogate", std::u16string(u"a") + char16_t(0xD83D) + u"b",
       "a\xEF\xBF\xBD"
       "b"},
      {"a lone low surrogate", std::u16string(u"a") + char16_t(0xDCFB), "a\xEF\xBF\xBD"},
      {"a high surrogate at the end", std::u16string(u"a") + char16_t(0xD83D), "a\xEF\xBF\xBD"},
  };
  for (const Case& c : cases) {
    for (const bool bigEndian : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (bigEndian ? ", big-endian" : ", little-endian"));
      EXPECT_EQ(AsUtf8(Utf16(c.text, bigEndian), bigEndian), c.utf8);
    }
  }
  EXPECT_EQ(AsUtf8(Utf16(u"ab", false) + "x", false), "ab");  // an odd last byte
}

// A long text reads whole, a surrogate pair split across the chunks too.
TEST(Utf16Text, TextAcrossChunks) {
  // Three units first: the pair at 16383 straddles the first 32 KiB chunk.
  std::u16string text = u"yyy";
  std::string utf8 = "yyy";
  for (int i = 0; i < 40000; ++i) {
    text += (i % 3 == 0) ? u"\U0001F4FB" : u"x";
    utf8 += (i % 3 == 0) ? "\xF0\x9F\x93\xBB" : "x";
  }
  EXPECT_EQ(AsUtf8(Utf16(text, false), false), utf8);
  std::stringbuf source(Utf16(text, true));
  Utf16Text start(source, true);
  EXPECT_EQ(start.Start(10).substr(0, 8), "yyy\xF0\x9F\x93\xBBx");
}

}  // namespace
}  // namespace zeltra
