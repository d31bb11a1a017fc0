#include "core/text/LineReader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/text/ReadChunk.h"

namespace zeltra {
namespace {

// Every line as read, a too long one marked "!" before its start.
std::vector<std::string> LinesOf(const std::string& text, std::size_t longest) {
  std::istringstream in(text);
  LineReader reader(in, longest);
  std::vector<std::string> lines;
  std::string line;
  for (LineReader::Result result; (result = reader.Next(line)) != LineReader::Result::kEnd;) {
    lines.push_back((result == LineReader::Result::kTooLong ? "!" : "") + line);
    EXPECT_EQ(reader.number(), lines.size());
  }
  return lines;
}

TEST(LineReader, LinesEndAsProgramsEndThem) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"LF", "a\nbc\n", {"a", "bc"}},
      {"CR LF", "a\r\nbc\r\n", {"a", "bc"}},
      {"CR alone", "a\rbc\r", {"a", "bc"}},
      {"CR LF, with a CR inside a line", "a\r\n\nb\rc\r\n\r\n", {"a", "", "b\rc", ""}},
      {"LF, with a CR inside a later line", "x\na\x1B\rb\n", {"x", "a\x1B\rb"}},
      {"CR alone, with empty lines", "a\r\rb\r", {"a", "", "b"}},
      {"a last line without a line end", "a\nbc", {"a", "bc"}},
      {"nothing", "", {}},
      {"a line end alone", "\r\n", {""}},
      {"a line at the bound", "12345\n", {"12345"}},
      {"a line past the bound: its start", "123456\nab\n", {"!12345", "ab"}},
      {"a last line past the bound", "12345678", {"!12345"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LinesOf(c.text, 5), c.lines);
    const std::string ends = c.text;
    EXPECT_EQ(CountLineEnds(c.text) +
                  (ends.empty() || ends.back() == '\n' || ends.back() == '\r' ? 0 : 1),
              c.lines.size());
  }
}

// A CR LF split between two chunks is one line end; a line longer than a
// chunk reads whole.
TEST(LineReader, LinesAcrossChunks) {
  for (const std::size_t before : {kReadChunk - 2, kReadChunk - 1, kReadChunk, kReadChunk + 1}) {
    SCOPED_TRACE(before);
    const std::string first(before, 'x');
    EXPECT_EQ(LinesOf(first + "\r\nnext\r\n", 3 * kReadChunk),
              (std::vector<std::string>{first, "next"}));
    EXPECT_EQ(LinesOf(first + "\rnext", 3 * kReadChunk), (std::vector<std::string>{first, "next"}));
  }
  const std::string longLine(2 * kReadChunk + 7, 'y');
  EXPECT_EQ(LinesOf("a\n" + longLine + "\nb", 10),
            (std::vector<std::string>{"a", "!" + longLine.substr(0, 10), "b"}));
}

}  // namespace
}  // namespace zeltra
