#include "organiser/site/HtmlText.h"

#include "core/text/Utf8.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace zeltra::organiser {
namespace {

TEST(HtmlText, ALogsTextIsShownAsTextNeverAsMarkup) {
  struct Case {
    std::string text;
    std::string html;
  };
  const std::vector<Case> cases = {
      {"SP9AHW", "SP9AHW"},
      {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
      {"\"><img src=x onerror=a()>", "&quot;&gt;&lt;img src=x onerror=a()&gt;"},
      {"O'Brien & Sons", "O&#39;Brien &amp; Sons"},
      {"&amp;", "&amp;amp;"},
      {"Klub Łódź", "Klub Łódź"},
      // Latin-1 bytes are read as such; a control character is shown, not kept.
      {"Gr\xFC\xDF", "Grüß"},
      {"a\x1b[2Jb", "a\\x1B[2Jb"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Html(c.text), c.html) << c.text;
    std::ostringstream out;
    WriteHtml(out, c.text);
    EXPECT_EQ(out.str(), c.html);
  }
}

// Whatever bytes a log holds, what a page shows of them is valid UTF-8
// without a character that markup gives meaning to, or one that moves text.
TEST(HtmlText, NoBytesBecomeMarkup) {
  std::mt19937 random(2612);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> length(0, 40);
  const std::string meaningful = "<>\"'";
  for (int round = 0; round < 20000; ++round) {
    std::string text(static_cast<std::size_t>(length(random)), ' ');
    for (char& c : text) c = static_cast<char>(byte(random));
    const std::string html = Html(text);
    ASSERT_EQ(html.find_first_of(meaningful), std::string::npos) << html;
    ASSERT_EQ(AsUtf8(html), html) << "not UTF-8: " << html;
    for (const char c : html) ASSERT_TRUE(static_cast<unsigned char>(c) >= ' ') << html;
    // An ampersand only ever starts an entity.
    for (std::size_t at = html.find('&'); at != std::string::npos; at = html.find('&', at + 1))
      ASSERT_TRUE(html.compare(at, 5, "&amp;") == 0 || html.compare(at, 4, "&lt;") == 0 ||
                  html.compare(at, 4, "&gt;") == 0 || html.compare(at, 6, "&quot;") == 0 ||
                  html.compare(at, 5, "&#39;") == 0)
          << html;
  }
}

// A call or a category in a table is cut after its first characters,
// never within a character, and escaped after the cut.
TEST(HtmlText, ShortTextIsCutByCharacters) {
  struct Case {
    const char* what;
    std::string text;
    std::size_t characters;
    std::string html;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"short enough", "SP9AHW", 6, "SP9AHW"},
           {"one too long", "SP9AHWX", 6, "SP9AHW…"},
           {"letters of two bytes", "ŁódźŁódź", 4, "Łódź…"},
           {"markup counts as itself", "<b>bold</b>", 3, "&lt;b&gt;…"},
           {"Windows-1250 read first",
            "\xA3\xF3"
            "d\x9F Klub",
            4, "Łódź…"},
           {"a thousand categories", std::string(3000, 'X'), 40, std::string(40, 'X') + "…"},
       }) {
    EXPECT_EQ(HtmlShort(c.text, c.characters), c.html) << c.what;
  }
}

}  // namespace
}  // namespace zeltra::organiser
