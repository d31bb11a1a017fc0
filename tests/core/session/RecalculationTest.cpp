#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/session/ContestSession.h"
#include "odbc/OdbcLogQuery.h"
#include "support/Contacts.h"
#include "support/SqliteLog.h"

namespace zeltra {
namespace {

using testing::ContactFields;
using testing::SqliteLog;

// The statistics window's recalculation against a real log, with the two
// points where window messages run stood in for by a hook.
class RecalculationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    log.CreateLogTable();
    log.Insert({{.callSign = "SP1A", .band = "14", .report = "5K", .dxccPrefix = "SP"},
                {.callSign = "W1AW", .band = "21", .continent = "NA", .dxccPrefix = "K"}});
  }

  // Records a contact as _AddQSO does, with the operator SP in EU.
  std::int32_t Add(const ContactFields& fields) {
    return session.AddQSO(fields.contact(), fields.own());
  }
  std::int32_t Preview(const ContactFields& fields) {
    return session.GetScore(fields.contact(), fields.own());
  }

  // Runs at the n-th pump point (1: before the reload, 2: after the query
  // opened), counting from the start of the outermost recalculation.
  void AtPump(int n, std::function<void()> work) {
    pumpWork.resize(static_cast<std::size_t>(std::max<int>(n, static_cast<int>(pumpWork.size()))));
    pumpWork[static_cast<std::size_t>(n - 1)] = std::move(work);
  }

  SqliteLog log;
  // What the host's last record says.
  LogSource source{
      .tableName = "QSO", .station = {.continent = "EU", .dxccPrefix = "SP"}, .band = ""};
  std::vector<int> bandsShown;
  int pumps = 0;
  int summaryChanges = 0;
  std::vector<std::function<void()>> pumpWork;
  ContestSession session{
      PrefillList{}, std::make_unique<OdbcLogQuery>(log.connection()), [this] { return source; },
      SessionEvents{.pumpMessages =
                        [this] {
                          const auto n = static_cast<std::size_t>(pumps++);
                          if (n < pumpWork.size() && pumpWork[n]) std::exchange(pumpWork[n], {})();
                        },
                    .summaryChanged = [this] { ++summaryChanges; },
                    .bandToShow = [this](const Band& band) { bandsShown.push_back(band.number); }}};
};

constexpr char kLogScore[] = "Score: 12*(1+2+2)=60";

TEST_F(RecalculationTest, FirstShowingWritesHeadingsAndRebuildsFromTheLog) {
  session.ShowFirstTime();
  const StatisticTable& table = session.summary().table;
  EXPECT_EQ(table.Cell(0, 0), "Band");
  EXPECT_EQ(table.Cell(3, 0), "Voivodeship");
  EXPECT_EQ(table.Cell(0, 7), "Total");
  EXPECT_EQ(table.Cell(1, 4), "1");
  EXPECT_EQ(table.Cell(2, 5), "10");
  EXPECT_EQ(session.summary().scoreLine, kLogScore);
  EXPECT_TRUE(session.RecalculateEnabled());
  EXPECT_FALSE(session.Recalculating());
  EXPECT_EQ(pumps, 2);
  EXPECT_EQ(Preview({.callSign = "SP1A", .band = "14"}), kDuplicate);
}

TEST_F(RecalculationTest, RecalcSeesRowsAddedBehindItsBack) {
  session.ShowFirstTime();
  log.Insert({{.callSign = "JA1X", .band = "28", .continent = "AS", .dxccPrefix = "JA"}});
  session.Recalculate();
  EXPECT_EQ(session.summary().table.Cell(1, 6), "1");
  EXPECT_EQ(session.summary().scoreLine, "Score: 22*(1+3+3)=154");
}

// A contact deleted from the host's log is gone after "Recalc": new again,
// and no longer counted.
TEST_F(RecalculationTest, ContactDeletedFromTheLogIsNewAgainAfterRecalc) {
  const ContactFields w1aw{.callSign = "W1AW", .band = "21", .continent = "NA", .dxccPrefix = "K"};
  session.ShowFirstTime();
  ASSERT_EQ(Preview(w1aw), kDuplicate);
  log.Execute("DELETE FROM QSO WHERE CallSign = 'W1AW'");
  session.Recalculate();
  EXPECT_EQ(Preview(w1aw), 10);
  const StatisticTable& table = session.summary().table;
  EXPECT_EQ(table.Cell(1, 5), "");
  EXPECT_EQ(table.Cell(1, 7), "1");
  EXPECT_EQ(session.summary().scoreLine, "Score: 2*(1+1+1)=6");
  // Logged again, it counts once more, and once only.
  EXPECT_EQ(Add(w1aw), 10);
  EXPECT_EQ(Preview(w1aw), kDuplicate);
  EXPECT_EQ(table.Cell(1, 5), "1");

  // The whole log deleted: nothing is left of any contact.
  log.Execute("DELETE FROM QSO");
  session.Recalculate();
  EXPECT_EQ(table.Cell(1, 7), "0");
  EXPECT_EQ(Preview(w1aw), 10);
  EXPECT_EQ(Add(w1aw), 10);
  EXPECT_EQ(Preview(w1aw), kDuplicate);
}

TEST_F(RecalculationTest, FailureEnablesTheActionAndLeavesTheCellsBlank) {
  session.ShowFirstTime();
  source.tableName = "Missing";
  const int changesBefore = summaryChanges;
  EXPECT_THROW(session.Recalculate(), DatabaseError);
  EXPECT_TRUE(session.RecalculateEnabled());
  EXPECT_FALSE(session.Recalculating());
  EXPECT_GT(summaryChanges, changesBefore);
  EXPECT_EQ(session.summary().table.Cell(1, 7), "");
  EXPECT_EQ(session.summary().table.Cell(0, 7), "Total");
  EXPECT_EQ(session.summary().scoreLine, kLogScore);  // Fill did not run

  source.tableName = "QSO";
  session.RecalculateUnlessRunning();
  EXPECT_EQ(session.summary().table.Cell(1, 7), "2");
}

TEST_F(RecalculationTest, TheActionDoesNothingWhileARecalculationRuns) {
  int nestedPumps = -1;
  AtPump(2, [&] {
    EXPECT_FALSE(session.RecalculateEnabled());
    const int before = pumps;
    session.RecalculateUnlessRunning();
    nestedPumps = pumps - before;
  });
  session.ShowFirstTime();
  EXPECT_EQ(nestedPumps, 0);
  EXPECT_EQ(session.summary().scoreLine, kLogScore);
}

TEST_F(RecalculationTest, RecalcClickedAtEitherPumpPointRunsANestedRecalculation) {
  for (int point : {1, 2}) {
    SCOPED_TRACE(point);
    pumps = 0;
    AtPump(point, [&] { session.Recalculate(); });
    session.Recalculate();
    EXPECT_EQ(pumps, 4);  // two of the outer run's, two of the nested one's
    EXPECT_TRUE(session.RecalculateEnabled());
    EXPECT_EQ(session.summary().scoreLine, kLogScore);
    EXPECT_EQ(session.summary().table.Cell(1, 7), "2");
  }
}

TEST_F(RecalculationTest, ContactAddedAtAPumpPoint) {
  const auto addNewContact = [&] {
    Add({.callSign = "VK2AB", .band = "14", .continent = "OC", .dxccPrefix = "VK"});
  };
  // Before the reload empties the lists, the contact is thrown away again;
  // after, it counts with the log.
  AtPump(1, addNewContact);
  session.Recalculate();
  EXPECT_EQ(session.summary().table.Cell(1, 7), "2");
  pumps = 0;
  AtPump(2, addNewContact);
  session.Recalculate();
  EXPECT_EQ(session.summary().table.Cell(1, 7), "3");
}

// A recalculation moves the voivodeship window once, at its end, to the band
// of the last contact it recorded, or to the host's band when it records
// none; nested ones and contacts added meanwhile count towards that one end.
TEST_F(RecalculationTest, BandShownOnceAtTheEnd) {
  log.Insert({{.callSign = "ZZ1Z", .band = "50"},
              {.callSign = "SP1A", .band = "14", .report = "5K", .dxccPrefix = "SP"}});
  source.band = "28";
  session.Recalculate();  // rows by call sign: SP1A 14, SP1A again (a duplicate), W1AW 21, ZZ1Z 50
  EXPECT_EQ(bandsShown, std::vector<int>{7});

  log.Execute("DELETE FROM QSO");
  bandsShown.clear();
  session.Recalculate();
  EXPECT_EQ(bandsShown, std::vector<int>{9});

  source.band = "50";
  bandsShown.clear();
  session.Recalculate();
  EXPECT_TRUE(bandsShown.empty());

  bandsShown.clear();
  pumps = 0;
  AtPump(2, [&] {
    Add({.callSign = "VK2AB", .band = "3.5"});
    EXPECT_TRUE(bandsShown.empty());
    session.Recalculate();
    EXPECT_TRUE(bandsShown.empty());
  });
  session.Recalculate();
  EXPECT_EQ(bandsShown, std::vector<int>{2});

  // A failing recalculation ends all the same.
  source.band = "7";
  source.tableName = "Missing";
  bandsShown.clear();
  EXPECT_THROW(session.Recalculate(), DatabaseError);
  EXPECT_EQ(bandsShown, std::vector<int>{3});
}

// A close request or an end-of-session query may arrive at a pump point or
// be followed by a cancelled log-off: it closes the log query, and nothing it
// leaves behind is unusable.
TEST_F(RecalculationTest, CloseQueryLeavesEveryListUsable) {
  AtPump(2, [&] { session.CloseLogQuery(); });
  session.ShowFirstTime();  // the reload reads no row after the query was closed
  EXPECT_EQ(session.summary().table.Cell(1, 7), "0");
  EXPECT_TRUE(session.RecalculateEnabled());

  const ContactFields sp1a{.callSign = "SP1A", .band = "14", .dxccPrefix = "SP"};
  EXPECT_EQ(Add(sp1a), 2);
  session.CloseLogQuery();
  EXPECT_EQ(Add(sp1a), kDuplicate);
  session.Recalculate();
  EXPECT_EQ(session.summary().scoreLine, kLogScore);
}

}  // namespace
}  // namespace zeltra
