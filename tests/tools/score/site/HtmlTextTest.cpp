#include "tools/score/site/HtmlText.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace zeltra::score {
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

}  // namespace
}  // namespace zeltra::score
