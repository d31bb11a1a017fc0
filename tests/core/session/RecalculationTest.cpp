#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/session/ContestSession.h"
#include "odbc/OdbcLogQuery.h"
#include "support/SqliteLog.h"

namespace zeltra {
namespace {

using testing::SqliteLog;

// The statistics window's recalculation against a real log, with the two
// points where window messages run stood in for by a hook.
class RecalculationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    log.CreateLogTable();
    log.Insert({{.callSign = "SP1A", .band = "14", .report = "5K", .dxccPrefix = "SP"},
                {.callSign = "W1AW", .band = "21", .continent = "NA", .dxccPrefix = "K"}});
    current.TableName.assign("QSO");
    current.MyContinent.assign("EU");
    current.MyDXCCPrefix.assign("SP");
  }

  // Runs at the n-th pump point (1: before the reload, 2: after the query
  // opened), counting from the start of the outermost recalculation.
  void AtPump(int n, std::function<void()> work) {
    pumpWork.resize(static_cast<std::size_t>(std::max<int>(n, static_cast<int>(pumpWork.size()))));
    pumpWork[static_cast<std::size_t>(n - 1)] = std::move(work);
  }

  SqliteLog log;
  TQSOData current{};
  int pumps = 0;
  int summaryChanges = 0;
  std::vector<std::function<void()>> pumpWork;
  ContestSession session{current, PrefillList{}, std::make_unique<OdbcLogQuery>(log.connection()),
                         SessionHooks{.showDXList = {},
                                      .pumpMessages =
                                          [this] {
                                            const auto n = static_cast<std::size_t>(pumps++);
                                            if (n < pumpWork.size() && pumpWork[n])
                                              std::exchange(pumpWork[n], {})();
                                          },
                                      .summaryChanged = [this] { ++summaryChanges; }}};
};

constexpr char kLogScore[] = "Score: 12*(1+2+2)=60";

TEST_F(RecalculationTest, FirstShowingWritesHeadingsAndRebuildsFromTheLog) {
  session.FormShow();
  const StatisticTable& table = session.summary().table;
  EXPECT_EQ(table.Cell(0, 0), "Band");
  EXPECT_EQ(table.Cell(3, 0), "Voivodeship");
  EXPECT_EQ(table.Cell(0, 7), "Total");
  EXPECT_EQ(table.Cell(1, 4), "1");
  EXPECT_EQ(table.Cell(2, 5), "10");
  EXPECT_EQ(session.summary().scoreLine, kLogScore);
  EXPECT_TRUE(session.RecalcStatisticEnabled());
  EXPECT_FALSE(session.Recalculating());
  EXPECT_EQ(pumps, 2);
  current.CallSign.assign("SP1A");
  current.Band.assign("14");
  current.Mode.assign("RTTY");
  EXPECT_EQ(session.GetScore(), kDuplicate);
}

TEST_F(RecalculationTest, RecalcSeesRowsAddedBehindItsBack) {
  session.FormShow();
  log.Insert({{.callSign = "JA1X", .band = "28", .continent = "AS", .dxccPrefix = "JA"}});
  session.RecalcStatisticExecute();
  EXPECT_EQ(session.summary().table.Cell(1, 6), "1");
  EXPECT_EQ(session.summary().scoreLine, "Score: 22*(1+3+3)=154");
}

// A contact deleted from the host's log is gone after "Recalc": new again,
// and no longer counted.
TEST_F(RecalculationTest, ContactDeletedFromTheLogIsNewAgainAfterRecalc) {
  // The host's record of W1AW's contact; a reload leaves the last row in it.
  const auto hostPasses = [this] {
    current.CallSign.assign("W1AW");
    current.Band.assign("21");
    current.Mode.assign("RTTY");
    current.Continent.assign("NA");
    current.DXCCPrefix.assign("K");
    current.ReportReceived.assign("599");
  };
  session.FormShow();
  hostPasses();
  ASSERT_EQ(session.GetScore(), kDuplicate);
  log.Execute("DELETE FROM QSO WHERE CallSign = 'W1AW'");
  session.RecalcStatisticExecute();
  hostPasses();
  EXPECT_EQ(session.GetScore(), 10);
  const StatisticTable& table = session.summary().table;
  EXPECT_EQ(table.Cell(1, 5), "");
  EXPECT_EQ(table.Cell(1, 7), "1");
  EXPECT_EQ(session.summary().scoreLine, "Score: 2*(1+1+1)=6");
  // Logged again, it counts once more, and once only.
  EXPECT_EQ(session.AddQSO(), 10);
  EXPECT_EQ(session.GetScore(), kDuplicate);
  EXPECT_EQ(table.Cell(1, 5), "1");

  // The whole log deleted: nothing is left of any contact.
  log.Execute("DELETE FROM QSO");
  session.RecalcStatisticExecute();
  EXPECT_EQ(table.Cell(1, 7), "0");
  hostPasses();
  EXPECT_EQ(session.GetScore(), 10);
  EXPECT_EQ(session.AddQSO(), 10);
  EXPECT_EQ(session.GetScore(), kDuplicate);
}

TEST_F(RecalculationTest, FailureEnablesTheActionAndLeavesTheCellsBlank) {
  session.FormShow();
  current.TableName.assign("Missing");
  const int changesBefore = summaryChanges;
  EXPECT_THROW(session.RecalcStatisticExecute(), DatabaseError);
  EXPECT_TRUE(session.RecalcStatisticEnabled());
  EXPECT_FALSE(session.Recalculating());
  EXPECT_GT(summaryChanges, changesBefore);
  EXPECT_EQ(session.summary().table.Cell(1, 7), "");
  EXPECT_EQ(session.summary().table.Cell(0, 7), "Total");
  EXPECT_EQ(session.summary().scoreLine, kLogScore);  // FillStatistic did not run

  current.TableName.assign("QSO");
  session.ExecuteRecalcStatistic();
  EXPECT_EQ(session.summary().table.Cell(1, 7), "2");
}

TEST_F(RecalculationTest, TheActionDoesNothingWhileARecalculationRuns) {
  int nestedPumps = -1;
  AtPump(2, [&] {
    EXPECT_FALSE(session.RecalcStatisticEnabled());
    const int before = pumps;
    session.ExecuteRecalcStatistic();
    nestedPumps = pumps - before;
  });
  session.FormShow();
  EXPECT_EQ(nestedPumps, 0);
  EXPECT_EQ(session.summary().scoreLine, kLogScore);
}

TEST_F(RecalculationTest, RecalcClickedAtEitherPumpPointRunsANestedRecalculation) {
  for (int point : {1, 2}) {
    SCOPED_TRACE(point);
    pumps = 0;
    AtPump(point, [&] { session.RecalcStatisticExecute(); });
    session.RecalcStatisticExecute();
    EXPECT_EQ(pumps, 4);  // two of the outer run's, two of the nested one's
    EXPECT_TRUE(session.RecalcStatisticEnabled());
    EXPECT_EQ(session.summary().scoreLine, kLogScore);
    EXPECT_EQ(session.summary().table.Cell(1, 7), "2");
  }
}

TEST_F(RecalculationTest, ContactAddedAtAPumpPoint) {
  const auto addNewContact = [&] {
    TQSOData saved = current;
    current.CallSign.assign("VK2AB");
    current.Band.assign("14");
    current.Continent.assign("OC");
    current.DXCCPrefix.assign("VK");
    session.AddQSO();
    current = saved;
  };
  // Before the reload empties the lists, the contact is thrown away again;
  // after, it counts with the log.
  AtPump(1, addNewContact);
  session.RecalcStatisticExecute();
  EXPECT_EQ(session.summary().table.Cell(1, 7), "2");
  pumps = 0;
  AtPump(2, addNewContact);
  session.RecalcStatisticExecute();
  EXPECT_EQ(session.summary().table.Cell(1, 7), "3");
}

// A close request or an end-of-session query may arrive at a pump point or
// be followed by a cancelled log-off: it closes the log query, and nothing it
// leaves behind is unusable.
TEST_F(RecalculationTest, CloseQueryLeavesEveryListUsable) {
  AtPump(2, [&] { session.FormCloseQuery(); });
  session.FormShow();  // the reload reads no row after the query was closed
  EXPECT_EQ(session.summary().table.Cell(1, 7), "0");
  EXPECT_TRUE(session.RecalcStatisticEnabled());

  current.CallSign.assign("SP1A");
  current.Band.assign("14");
  current.Mode.assign("RTTY");
  current.DXCCPrefix.assign("SP");
  EXPECT_EQ(session.AddQSO(), 2);
  session.FormCloseQuery();
  EXPECT_EQ(session.AddQSO(), kDuplicate);
  session.RecalcStatisticExecute();
  EXPECT_EQ(session.summary().scoreLine, kLogScore);
}

}  // namespace
}  // namespace zeltra
