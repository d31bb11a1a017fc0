#include "odbc/OdbcLogQuery.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/SqliteLog.h"

namespace zeltra {
namespace {

using testing::SqliteLog;

// The query alone, row by row, against a real SQLite file.
class OdbcLogQueryTest : public ::testing::Test {
 protected:
  // The values of one column, row by row, as the query reads them.
  std::vector<std::string> Column(const std::string& sql, std::string_view column) {
    std::vector<std::string> values;
    for (query.Open(sql); !query.Eof(); query.Next()) values.push_back(query.FieldAsText(column));
    query.Close();
    return values;
  }

  SqliteLog log;
  OdbcLogQuery query{log.connection()};
};

TEST_F(OdbcLogQueryTest, ValuesAsTextCutTo255Bytes) {
  log.Execute("CREATE TABLE T (Id INTEGER, V)");
  const std::string exact(255, 'a');
  const std::string over = std::string(255, 'b') + "cdef";
  log.Execute("INSERT INTO T VALUES (1, '" + exact + "')");
  log.Execute("INSERT INTO T VALUES (2, '" + over + "')");
  log.Execute("INSERT INTO T VALUES (3, 'short')");
  log.Execute("INSERT INTO T VALUES (4, 42)");
  log.Execute("INSERT INTO T VALUES (5, '')");
  EXPECT_EQ(Column("SELECT * FROM T ORDER BY Id", "v"),
            (std::vector<std::string>{exact, std::string(255, 'b'), "short", "42", ""}));
}

// A NULL reads as empty text whatever the row before it held, and a value
// after a longer one carries nothing of it.
TEST_F(OdbcLogQueryTest, NullAfterAValueReadsEmpty) {
  log.Execute("CREATE TABLE T (Id INTEGER, V TEXT)");
  log.Execute("INSERT INTO T VALUES (1, 'SP9ABC'), (2, NULL), (3, 'K'), (4, NULL), (5, NULL)");
  EXPECT_EQ(Column("SELECT * FROM T ORDER BY Id", "V"),
            (std::vector<std::string>{"SP9ABC", "", "K", "", ""}));
}

TEST_F(OdbcLogQueryTest, FailingOpenLeavesAClosedQueryThatOpensAgain) {
  log.Execute("CREATE TABLE T (V TEXT)");
  log.Execute("INSERT INTO T VALUES ('x')");
  EXPECT_THROW(query.Open("SELECT * FROM Missing"), DatabaseError);
  EXPECT_TRUE(query.Eof());
  EXPECT_THROW(query.FieldAsText("V"), DatabaseError);
  query.Next();
  query.Close();
  query.Close();
  EXPECT_TRUE(query.Eof());
  EXPECT_EQ(Column("SELECT * FROM T", "V"), std::vector<std::string>{"x"});
}

TEST_F(OdbcLogQueryTest, UnknownColumnNamesIt) {
  log.Execute("CREATE TABLE T (V TEXT)");
  log.Execute("INSERT INTO T VALUES ('x')");
  query.Open("SELECT * FROM T");
  try {
    query.FieldAsText("Nope");
    FAIL() << "no error";
  } catch (const DatabaseError& error) {
    EXPECT_NE(std::string(error.what()).find("Nope"), std::string::npos);
  }
}

}  // namespace
}  // namespace zeltra
