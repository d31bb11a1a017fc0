#include "core/reload/LogReload.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "odbc/OdbcLogQuery.h"
#include "support/Contacts.h"
#include "support/SqliteLog.h"

namespace zeltra {
namespace {

using testing::ContactFields;
using testing::kNull;
using testing::LogRow;
using testing::SqliteLog;

class LogReloadTest : public ::testing::Test {
 protected:
  void Reload(const ReloadHooks& hooks = {}) {
    ReloadLog(query, tableName, own, scorer, table, hooks);
  }

  std::int64_t TotalQsos() const {
    std::int64_t total = 0;
    for (const BandStatistic& statistic : scorer.statistics().items()) total += statistic.qsos;
    return total;
  }

  const BandStatistic& Band(std::string_view name) const {
    for (const BandStatistic& statistic : scorer.statistics().items())
      if (statistic.name == name) return statistic;
    throw std::runtime_error("no statistic for band " + std::string(name));
  }

  SqliteLog log;
  OdbcLogQuery query{log.connection()};
  std::string tableName = "QSO";
  OwnStation own{.continent = "EU", .dxccPrefix = "SP"};
  Scorer scorer;
  StatisticTable table;
};

TEST_F(LogReloadTest, EmptyLogLeavesEverythingEmptyAndBandAsItWas) {
  log.CreateLogTable();
  scorer.Record(ContactFields{.callSign = "OLD1"}.contact(), own);  // something to throw away
  table.SetCell(1, 7, "9");
  table.SetCell(0, 7, "Total");
  Reload();
  EXPECT_EQ(scorer.contacts().size(), 0u);
  EXPECT_TRUE(scorer.statistics().items().empty());
  EXPECT_EQ(scorer.continents().size(), 0u);
  EXPECT_EQ(table.Cell(1, 7), "");
  EXPECT_EQ(table.Cell(0, 7), "Total");
  EXPECT_TRUE(query.Eof());
}

TEST_F(LogReloadTest, ReplaysEveryRowThroughTheScorer) {
  log.CreateLogTable();
  log.Insert({
      {.callSign = "SP9ABC", .band = "14", .continent = "eu", .report = "599K", .dxccPrefix = "SP"},
      {.callSign = "SP9ABC", .band = "14", .continent = "eu", .report = "599K", .dxccPrefix = "SP"},
      {.callSign = "sp9abc", .band = "14", .continent = "EU", .report = "599M", .dxccPrefix = "SP"},
      {.callSign = "W1AW", .band = "21", .continent = kNull, .dxccPrefix = kNull},
      {.callSign = "W2AW", .band = "21", .continent = kNull, .dxccPrefix = kNull},
  });
  std::vector<std::string> recorded;
  Reload({.pumpMessages = {}, .replayed = [&](const Contact& contact, std::int32_t result) {
            if (result != kDuplicate) recorded.push_back(contact.callSign);
          }});
  EXPECT_EQ(Band("14").qsos, 2);  // the same contact twice counts once; case differs: two
  EXPECT_EQ(Band("14").points, 4);
  EXPECT_EQ(Band("14").voivodeships, 2);
  EXPECT_EQ(Band("21").qsos, 2);
  EXPECT_EQ(Band("21").points, 20);     // empty continent is another continent
  EXPECT_EQ(Band("21").dxccs, 1);       // 21|| once
  EXPECT_EQ(Band("21").continents, 1);  // the empty continent, once
  EXPECT_EQ(scorer.continents().items(), (std::vector<std::string>{"EU", ""}));
  // Each recorded row, in the database's order; the duplicate is not.
  EXPECT_EQ(recorded, (std::vector<std::string>{"SP9ABC", "W1AW", "W2AW", "sp9abc"}));
}

// The database orders call signs without regard to case, which is not byte
// order; every duplicate is found all the same.
TEST_F(LogReloadTest, CaseInsensitiveCollationStillFindsEveryDuplicate) {
  log.CreateLogTable("QSO", "TEXT COLLATE NOCASE");
  std::vector<LogRow> rows;
  for (const char* call : {"AA3", "aa2", "AA1", "AA3", "ab1", "AA2", "aa2", "AB1", "ab1"})
    rows.push_back({.callSign = call});
  log.Insert(rows);
  Reload();
  EXPECT_EQ(TotalQsos(), 6);  // AA1 AA2 aa2 AA3 AB1 ab1
}

TEST_F(LogReloadTest, ReadsAnyColumnTypeAsTextCutTo255) {
  log.Execute(
      "CREATE TABLE QSO (CallSign TEXT, DigiBand INTEGER, QSOMode TEXT, Continent TEXT, "
      "QSOReportRecived TEXT, DXCCPrefix TEXT, MainPrefix BLOB)");
  const std::string longKeep = std::string(253, '9') + " K";  // 255: the K stays
  const std::string longCut = std::string(254, '9') + " K";   // 256: the K is cut away
  log.Execute("INSERT INTO QSO VALUES ('A1', 14, 'RTTY', 'EU', '" + longKeep + "', 'DL', NULL)");
  log.Execute("INSERT INTO QSO VALUES ('A2', 21, 'RTTY', 'EU', '" + longCut + "', 'DL', NULL)");
  log.Execute("INSERT INTO QSO VALUES ('A3', 28, 'RTTY', 'EU', 599, 'DL', x'4142')");
  Reload();
  EXPECT_EQ(Band("14").voivodeships, 1);
  EXPECT_EQ(Band("21").voivodeships, 0);
  EXPECT_EQ(Band("28").qsos, 1);
}

TEST_F(LogReloadTest, ColumnNamesMatchWithoutRegardToCase) {
  log.Execute(
      "CREATE TABLE QSO (callsign TEXT, DIGIBAND TEXT, qsoMode TEXT, continent TEXT, "
      "qsoreportrecived TEXT, dxccprefix TEXT, mainprefix TEXT)");
  log.Execute("INSERT INTO QSO VALUES ('SP1A', '14', 'RTTY', 'eu', '5K', 'SP', 'SP')");
  Reload();
  EXPECT_EQ(Band("14").voivodeships, 1);
  EXPECT_EQ(scorer.continents().items(), std::vector<std::string>{"EU"});
}

TEST_F(LogReloadTest, HundredThousandRows) {
  log.CreateLogTable();
  std::vector<LogRow> rows;
  for (int i = 0; i < 100000; ++i)
    rows.push_back({.callSign = "C" + std::to_string(i), .band = i % 2 ? "14" : "21"});
  log.Insert(rows);
  Reload();
  EXPECT_EQ(TotalQsos(), 100000);
  EXPECT_EQ(Band("14").qsos, 50000);
}

TEST_F(LogReloadTest, MissingTableFailsWithTheDatabasesMessage) {
  scorer.Record(ContactFields{.callSign = "OLD1"}.contact(), own);
  tableName = "NoSuchTable";
  try {
    Reload();
    FAIL() << "no error";
  } catch (const DatabaseError& error) {
    EXPECT_NE(std::string(error.what()).find("no such table"), std::string::npos) << error.what();
    EXPECT_EQ(std::string(error.what()).front(), '[') << error.what();  // [SQLSTATE]
  }
  EXPECT_EQ(scorer.contacts().size(), 0u);
  EXPECT_TRUE(query.Eof());
}

TEST_F(LogReloadTest, MissingColumnFailsNamingIt) {
  log.Execute(
      "CREATE TABLE QSO (CallSign TEXT, DigiBand TEXT, QSOMode TEXT, Continent TEXT, "
      "QSOReportRecived TEXT, DXCCPrefix TEXT)");
  log.Execute("INSERT INTO QSO VALUES ('SP1A', '14', 'RTTY', 'EU', '5K', 'SP')");
  try {
    Reload();
    FAIL() << "no error";
  } catch (const DatabaseError& error) {
    EXPECT_NE(std::string(error.what()).find("MainPrefix"), std::string::npos) << error.what();
  }
}

// An error in the middle of the log: the rows before it stay counted and
// Band keeps the last row's text.
TEST(LogReloadErrorTest, ErrorInTheMiddleKeepsWhatWasRebuilt) {
  SqliteLog log("StepAPI=1;");
  Scorer scorer;
  StatisticTable table;
  OdbcLogQuery query(log.connection());
  log.CreateLogFailingAt({{.callSign = "A1", .band = "14"},
                          {.callSign = "A2", .band = "21"},
                          {.callSign = "A3", .band = "28"},
                          {.callSign = "A4", .band = "7"}},
                         "A3");
  std::vector<std::string> bands;
  EXPECT_THROW(ReloadLog(query, "QSO", {}, scorer, table,
                         {.pumpMessages = {},
                          .replayed = [&](const Contact& contact,
                                          std::int32_t) { bands.push_back(contact.band); }}),
               DatabaseError);
  EXPECT_EQ(scorer.contacts().size(), 2u);
  EXPECT_EQ(bands, (std::vector<std::string>{"14", "21"}));
  EXPECT_TRUE(query.Eof());
}

TEST_F(LogReloadTest, ClosedConnectionFails) {
  log.CreateLogTable();
  log.Disconnect();
  EXPECT_THROW(Reload(), DatabaseError);
}

TEST_F(LogReloadTest, NothingIsWrittenWhateverTheTableName) {
  log.CreateLogTable();
  log.Insert({{.callSign = "SP1A"}});
  for (const char* name :
       {"QSO; DELETE FROM QSO", "QSO; DROP TABLE QSO;", "QSO; DELETE FROM QSO; --",
        "QSO; DROP TABLE QSO --", "QSO where", "QSO\"", "'"}) {
    SCOPED_TRACE(name);
    tableName = name;
    try {
      Reload();
    } catch (const DatabaseError&) {
      // a syntax error is fine; a write is not
    }
  }
  tableName = "QSO";
  Reload();
  EXPECT_EQ(TotalQsos(), 1);
}

// A name that is not a plain identifier is the name of one table, quoted as
// the driver quotes, and never a table name followed by more SQL.
TEST_F(LogReloadTest, TableNamesThatNeedQuotingReadTheirOwnTable) {
  const std::string names[] = {"My Log", "Order", "a-b", "x\"y"};
  const std::string quoted[] = {"\"My Log\"", "\"Order\"", "\"a-b\"", "\"x\"\"y\""};
  log.CreateLogTable("My");
  log.Insert({{.callSign = "MY1"}}, "My");
  for (std::size_t i = 0; i < std::size(names); ++i) {
    log.CreateLogTable(quoted[i]);
    std::vector<LogRow> rows(i + 2);
    for (std::size_t row = 0; row < rows.size(); ++row)
      rows[row].callSign = "T" + std::to_string(i) + "R" + std::to_string(row);
    log.Insert(rows, quoted[i]);
  }
  for (std::size_t i = 0; i < std::size(names); ++i) {
    SCOPED_TRACE(names[i]);
    tableName = names[i];
    std::string lastCall;
    Reload({.pumpMessages = {}, .replayed = [&](const Contact& contact, std::int32_t) {
              lastCall = contact.callSign;
            }});
    EXPECT_EQ(TotalQsos(), static_cast<std::int64_t>(i + 2));
    EXPECT_EQ(lastCall.substr(0, 2), "T" + std::to_string(i));
  }
}

TEST_F(LogReloadTest, ATableNameCannotReadAnotherTable) {
  log.CreateLogTable();
  log.CreateLogTable("Secret");
  log.Insert({{.callSign = "HIDDEN1"}, {.callSign = "HIDDEN2"}}, "Secret");
  for (const char* name : {"QSO WHERE 0 UNION ALL SELECT * FROM Secret",
                           "QSO UNION ALL SELECT * FROM Secret --", "Secret\" --"}) {
    SCOPED_TRACE(name);
    tableName = name;
    try {
      Reload();
      ADD_FAILURE() << "no error";
    } catch (const DatabaseError& error) {
      EXPECT_NE(std::string(error.what()).find("no such table"), std::string::npos) << error.what();
    }
    EXPECT_EQ(TotalQsos(), 0);
  }
}

// What runs at the pump point after the query is opened sees emptied lists; a
// nested reload there closes the query, and the outer one reads no more rows.
TEST_F(LogReloadTest, WorkAtThePumpPoint) {
  log.CreateLogTable();
  log.Insert({{.callSign = "SP1A", .band = "14"}, {.callSign = "SP2B", .band = "21"}});

  bool nested = false;
  Reload({.pumpMessages =
              [&] {
                if (nested) return;
                nested = true;
                Reload();
              },
          .replayed = {}});
  EXPECT_EQ(TotalQsos(), 2);

  // A contact recorded at the pump point goes into the rebuilt lists.
  Reload({.pumpMessages =
              [&] {
                EXPECT_EQ(scorer.contacts().size(), 0u);
                scorer.Record(ContactFields{.callSign = "NEW1", .band = "28"}.contact(), own);
              },
          .replayed = {}});
  EXPECT_EQ(TotalQsos(), 3);
}

}  // namespace
}  // namespace zeltra
