#include "odbc/OdbcConnection.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/reload/LogQuery.h"
#include "support/SqliteLog.h"

namespace zeltra {
namespace {

// What SQLite's driver is given to open a database read-only, however the
// connection string names it.
TEST(OdbcConnection, ConnectionStringsAreMadeReadOnly) {
  testing::TemporaryFolder folder;
  const std::string db = (folder.path() / "log.db").string();
  std::ofstream(db) << "";
  const std::string rest = ";NoCreat=1;Timeout=1000;";
  struct Case {
    std::string given;
    std::string made;
  };
  const Case cases[] = {
      {"DRIVER=SQLite3;Database=" + db, "DRIVER=SQLite3;Database=file:" + db + "?mode=ro" + rest},
      {"Driver={SQLite3 ODBC Driver};DATABASE={" + db + "}",
       "Driver={SQLite3 ODBC Driver};DATABASE=file:" + db + "?mode=ro" + rest},
      {"DRIVER=SQLite3;Database=file:" + db,
       "DRIVER=SQLite3;Database=file:" + db + "?mode=ro" + rest},
      {"DRIVER=SQLite3;Database=file:" + db + "?cache=private",
       "DRIVER=SQLite3;Database=file:" + db + "?cache=private&mode=ro" + rest},
      {"DRIVER=SQLite3;Database=file:" + db + "?mode=ro",
       "DRIVER=SQLite3;Database=file:" + db + "?mode=ro" + rest},
      {"DRIVER=SQLite3;Database=" + db + ";Timeout=50;NoCreat=0",
       "DRIVER=SQLite3;Database=file:" + db + "?mode=ro;Timeout=50;NoCreat=0;"},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadOnlyConnectionString(c.given), c.made) << c.given;
  EXPECT_THROW(ReadOnlyConnectionString("DRIVER=SQLite3;Database=" + db + ".missing"),
               DatabaseError);
  EXPECT_THROW(ReadOnlyConnectionString("DRIVER={PostgreSQL};Server=x"), DatabaseError);
  EXPECT_THROW(ReadOnlyConnectionString("Database=" + db), DatabaseError);
  EXPECT_THROW(ReadOnlyConnectionString("FILEDSN=x.dsn"), DatabaseError);
}

}  // namespace
}  // namespace zeltra
