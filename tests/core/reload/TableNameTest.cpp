#include "core/reload/TableName.h"

#include <gtest/gtest.h>

#include <string>

namespace zeltra {
namespace {

TEST(TableName, PlainNamesStandAndOthersAreQuoted) {
  SqlKeywords keywords;
  keywords.Add("ORDER, SELECT,table");
  struct Case {
    std::string name;
    std::string quote;
    std::string reference;
  };
  const Case cases[] = {
      {"QSO", "\"", "QSO"},
      {"_log2", "\"", "_log2"},
      {"QSO2026", "\"", "QSO2026"},  // a digit at the end is no reason to quote
      {"dbo.QSO", "\"", "dbo.QSO"},
      {"main.dbo.QSO", "\"", "main.dbo.QSO"},
      {"  QSO \t", "\"", "QSO"},
      {"My Log", "\"", "\"My Log\""},
      {"My Log", "`", "`My Log`"},
      {"a-b", "\"", "\"a-b\""},
      {"2024", "\"", "\"2024\""},
      {"x\"y", "\"", "\"x\"\"y\""},
      {"\"", "\"", "\"\"\"\""},
      {"Order", "\"", "\"Order\""},
      {"order", "\"", "\"order\""},
      {"main.Order", "\"", "main.\"Order\""},
      {"Orders", "\"", "Orders"},
      {"\"My Log\"", "\"", "\"My Log\""},
      {"[My Log]", "\"", "[My Log]"},
      {"main.\"My Log\"", "\"", "main.\"My Log\""},
      {"\"a\"\"b\"", "\"", "\"a\"\"b\""},
      {"\"a\" union select 1 \"b\"", "\"", "\"\"\"a\"\" union select 1 \"\"b\"\"\""},
      {"[]", "\"", "\"[]\""},
      {"dbo.", "\"", "\"dbo.\""},
      {".QSO", "\"", "\".QSO\""},
      {"QSO WHERE 0 UNION ALL SELECT * FROM Secret", "\"",
       "\"QSO WHERE 0 UNION ALL SELECT * FROM Secret\""},
      {"QSO; DROP TABLE QSO", "\"", "\"QSO; DROP TABLE QSO\""},
      {"My Log", "", "My Log"},
      {"", "\"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name + " with " + c.quote);
    EXPECT_EQ(TableReference(c.name, c.quote, keywords), c.reference);
  }
}

}  // namespace
}  // namespace zeltra
