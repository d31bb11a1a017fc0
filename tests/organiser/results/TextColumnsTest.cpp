#include "organiser/results/TextColumns.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/text/Utf8.h"

namespace zeltra::organiser {
namespace {

// What a CSV cell holds, as a spreadsheet reads it back.
TEST(TextColumns, CsvFieldsAreQuotedWhereTheyMustBe) {
  struct Case {
    std::string text;
    std::string field;
  };
  const Case cases[] = {
      {"SP1AAA", "SP1AAA"},
      {"SP1AAA,X", "\"SP1AAA,X\""},
      {"SP1\"AAA", "\"SP1\"\"AAA\""},
      {"599 \"K\",M", "\"599 \"\"K\"\",M\""},
      {"", ""},
      {"-5", "-5"},
      {"+1.5", "+1.5"},
      {"=1+2", "\"'=1+2\""},
      {"@SUM(A1)", "\"'@SUM(A1)\""},
      {"-", "\"'-\""},
      {"+1.x", "\"'+1.x\""},
      {"-x.5", "\"'-x.5\""},
      {"=\"x\"", "\"'=\"\"x\"\"\""},
      {"\tSP1AAA", "\"'\\x09SP1AAA\""},
      {"SP1\x7F", "SP1\\x7F"},
      {"\xC5\x81\xC3\xB3"
       "d\xC5\xBA",
       "\xC5\x81\xC3\xB3"
       "d\xC5\xBA"},
      {"a\x01,b", "\"a\\x01,b\""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CsvField(c.text), c.field) << c.text;
    // A field put at the end of a row is the same field.
    std::string row = "x,";
    AppendCsvField(row, c.text);
    EXPECT_EQ(row, "x," + c.field) << c.text;
  }
  EXPECT_EQ(CsvLine({"a", "b,c", ""}), "a,\"b,c\",\n");
}

// One long text is cut where a cell ends, at a character's start, and
// makes its column no wider than that; the others keep their widths.
TEST(TextColumns, ALongCellIsCutAndWidensNoTable) {
  std::string polish;
  for (int i = 0; i < 200; ++i) polish += "\xC5\x82";  // ł, two bytes each
  const std::vector<std::vector<std::string>> rows = {{"1", std::string(kWidestCell, 'x')},
                                                      {"2", polish},
                                                      {"3", std::string(100000, 'y')},
                                                      {"4", "SP1AAA"}};
  std::ostringstream out;
  WriteAlignedColumns(out, {"Rank", "Call"}, rows, {false, true});
  std::istringstream lines(out.str());
  std::string line;
  std::vector<std::string> written;
  while (std::getline(lines, line)) written.push_back(line);
  ASSERT_EQ(written.size(), 5u);
  const std::size_t callStart = std::string("Rank  ").size();
  EXPECT_EQ(written[1].substr(callStart), std::string(kWidestCell, 'x'));
  EXPECT_EQ(written[3].size(), callStart + kWidestCell);
  EXPECT_EQ(written[3].substr(written[3].size() - 3), "...");
  EXPECT_EQ(written[2].substr(written[2].size() - 3), "...");
  EXPECT_LE(written[2].size(), callStart + kWidestCell);
  EXPECT_GE(written[2].size(), callStart + kWidestCell - 1);
  EXPECT_EQ(AsUtf8(written[2]), written[2]);  // no character cut in two
  EXPECT_EQ(written[4], "   4  SP1AAA");
}

}  // namespace
}  // namespace zeltra::organiser
