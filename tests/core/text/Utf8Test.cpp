#include "core/text/Utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace zeltra {
namespace {

TEST(Utf8, PrintableShowsControlsAndStrayBytesEscaped) {
  struct Case {
    const char* name;
    std::string text;
    std::string printable;
  };
  const Case cases[] = {
      {"plain", "SP5XYZ", "SP5XYZ"},
      {"UTF-8 stays", "\xC5\x81\xC3\xB3\x64\xC5\xBA", "\xC5\x81\xC3\xB3\x64\xC5\xBA"},
      {"escape and carriage return", "A\x1B[K\rB", "A\\x1B[K\\x0DB"},
      {"tab, line end, DEL", "\t\n\x7F", "\\x09\\x0A\\x7F"},
      {"a C1 control in UTF-8",
       "\xC2\x9B"
       "2J",
       "\\xC2\\x9B2J"},
      {"a lone Latin-1 byte", "\xA3od", "\\xA3od"},
      {"a cut sequence", "\xE2\x82", "\\xE2\\x82"},
      {"an overlong encoding", "\xC0\xAF", "\\xC0\\xAF"},
      {"a surrogate", "\xED\xA0\x80", "\\xED\\xA0\\x80"},
      {"four bytes", "\xF0\x9F\x93\xBB", "\xF0\x9F\x93\xBB"},
      {"the last code point", "\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},
      {"beyond the last code point", "\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},
      {"a right-to-left override", "SP\xE2\x80\xAEKCAB", "SP\\xE2\\x80\\xAEKCAB"},
      {"a line separator",
       "A\xE2\x80\xA8"
       "B",
       "A\\xE2\\x80\\xA8"
       "B"},
      {"a byte-order mark inside",
       "A\xEF\xBB\xBF"
       "B",
       "A\\xEF\\xBB\\xBF"
       "B"},
      {"a zero-width space and an isolate", "A\xE2\x80\x8B\xE2\x81\xA6",
       "A\\xE2\\x80\\x8B\\xE2\\x81\\xA6"},
      {"the letters around them stay", "\xE2\x80\xA7\xE2\x80\xAF\xE2\x81\x9F",
       "\xE2\x80\xA7\xE2\x80\xAF\xE2\x81\x9F"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Printable(c.text), c.printable);
  }
}

// Text that is no UTF-8 is read as Polish Windows writes it when that
// reads it as Polish, else as Latin-1; UTF-8 is never touched.
TEST(Utf8, AsUtf8KeepsUtf8AndReadsOtherBytesInTheirCodePage) {
  struct Case {
    const char* what;
    std::string_view text;
    std::string_view utf8;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"UTF-8", "\xC5\x82\xC3\xB3\x64\xC5\xBA.adi", "łódź.adi"},
           {"nothing", "", ""},
           {"a Polish club in Windows-1250", "Klub \xA3\xF3\x64\x9F", "Klub Łódź"},
           {"every Polish letter",
            "\xA5\xB9\xC6\xE6\xCA\xEA\xA3\xB3\xD1\xF1\xD3\xF3\x8C\x9C\x8F\x9F\xAF\xBF",
            "ĄąĆćĘęŁłŃńÓóŚśŹźŻż"},
           {"Polish quotes and a dash", "\x84tak\x94 \x96 nie", "„tak” – nie"},
           {"a German name", "M\xFCller", "Müller"},
           {"a Czech letter is not Polish",
            "\x8Akoda \xA3\xF3"
            "d\x9F",
            "\xC2\x8Akoda £ód\xC2\x9F"},
           {"a byte Windows-1250 lacks", "\x81\xA3", "\xC2\x81£"},
           {"a UTF-8 sequence cut short", "a\xE2\x82", "aâ\xC2\x82"},
           {"a degree sign alone", "20\xB0", "20°"},
       }) {
    EXPECT_EQ(AsUtf8(c.text), c.utf8) << c.what;
  }
}

TEST(Utf8, WholeLengthHoldsBackOnlyASequenceStillComing) {
  struct Case {
    std::string bytes;
    std::size_t whole;
  };
  const Case cases[] = {
      {"", 0},
      {"abc", 3},
      {"\xC5\x82", 2},          // "ł" whole
      {"a\xC5", 1},             // its first byte only
      {"\xE2\x82\xAC", 3},      // "€" whole
      {"a\xE2\x82", 1},         // two of its three bytes
      {"\xF0\x9F\x98\x80", 4},  // an emoji whole
      {"ab\xF0\x9F\x98", 2},    // three of its four
      {"\x80\x80\x80\x80", 4},  // stray continuation bytes: nothing to wait for
      {"a\xFF", 2},             // no UTF-8 at all
      {"\xC5\x82\xC5", 2},
  };
  for (const Case& c : cases) EXPECT_EQ(WholeUtf8Length(c.bytes), c.whole) << Printable(c.bytes);
}

}  // namespace
}  // namespace zeltra
