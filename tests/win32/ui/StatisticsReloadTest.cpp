#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "win32/support/PostedWork.h"
#include "win32/support/TestHost.h"
#include "win32/ui/StatisticsWindowIds.h"

namespace zeltra::testing {
namespace {

using host::QsoField;
using host::QsoRecord;

constexpr char kLogScore[] = "Score: 12*(1+2+2)=60";

// The statistics window rebuilt from a real SQLite log that the test host
// opened through ODBC and handed over in Connection, as a logging program
// does.
class StatisticsReloadTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    log.Insert({{.callSign = "SP1A", .band = "14", .report = "5K", .dxccPrefix = "SP"},
                {.callSign = "W1AW", .band = "21", .continent = "NA", .dxccPrefix = "K"}});
  }

  static void ClickRecalc(HWND window) {
    SendMessageW(GetDlgItem(window, win32::kRecalcButtonId), BM_CLICK, 0, 0);
    host::PumpMessages();
  }

  static void PostRecalcClick(HWND window) {
    PostMessageW(GetDlgItem(window, win32::kRecalcButtonId), BM_CLICK, 0, 0);
  }

  PostedWork work;
};

TEST_F(StatisticsReloadTest, FirstRunReturnsAfterTheLogWasCounted) {
  HWND window = plugin->Run(0, On(log, Station()).data());
  EXPECT_EQ(ScoreLine(window), kLogScore);
  EXPECT_EQ(plugin->GetScore(On(log, Contact("SP1A", "14", "EU", "SP", "5K")).data()), -1);
  EXPECT_EQ(plugin->GetScore(On(log, Contact("SP1A", "7", "EU", "SP", "5K")).data()), 2);
}

TEST_F(StatisticsReloadTest, RecalcCountsRowsAddedBehindThePluginsBack) {
  HWND window = Run(On(log, Station()));
  log.Insert({{.callSign = "JA1X", .band = "28", .continent = "AS", .dxccPrefix = "JA"}});
  ClickRecalc(window);
  EXPECT_EQ(ScoreLine(window), "Score: 22*(1+3+3)=154");
}

// The query stays bound to the first record's connection; the table name is
// that of whichever record was copied last.
TEST_F(StatisticsReloadTest, SecondRunNeitherRebindsNorCopies) {
  log.CreateLogTable("Other");
  log.Insert({{.callSign = "JA1X", .band = "28", .continent = "AS", .dxccPrefix = "JA"}}, "Other");
  SqliteLog otherLog;
  otherLog.CreateLogTable("Elsewhere");

  HWND window = Run(On(log, Station()));
  EXPECT_EQ(Run(On(otherLog, Station(), "Elsewhere")), window);
  ClickRecalc(window);  // the second record was not copied: still table QSO
  EXPECT_EQ(ScoreLine(window), kLogScore);

  plugin->GetScore(On(otherLog, Contact("X1", "14", "EU", "DL", ""), "Other").data());
  ClickRecalc(window);  // table Other, but on the first connection
  EXPECT_EQ(ScoreLine(window), "Score: 10*(0+1+1)=20");
}

TEST_F(StatisticsReloadTest, FailingFirstReloadIsReportedAndTheWindowStaysUsable) {
  expectedMessageBoxes = 1;
  HWND window = Run(On(log, Station(), "Missing"));
  ASSERT_TRUE(IsWindow(window));
  ASSERT_EQ(messageBoxes.texts().size(), 1u);
  EXPECT_NE(messageBoxes.texts()[0].find("no such table: Missing"), std::string::npos)
      << messageBoxes.texts()[0];
  EXPECT_EQ(plugin->AddQSO(On(log, Contact("W1AW", "21", "NA", "K", ""), "Missing").data()), 10);

  // Once the cause is fixed, Recalc works.
  log.CreateLogTable("Missing");
  log.Insert({{.callSign = "VK2AB", .band = "14", .continent = "OC", .dxccPrefix = "VK"}},
             "Missing");
  ClickRecalc(window);
  EXPECT_EQ(ScoreLine(window), "Score: 10*(0+1+1)=20");
}

TEST_F(StatisticsReloadTest, RecalcClickedAtEitherPumpPoint) {
  HWND window = Run(On(log, Station()));
  PostRecalcClick(window);  // handled where the recalculation first lets messages run
  ClickRecalc(window);
  EXPECT_EQ(ScoreLine(window), kLogScore);

  // Posted while the first pump point runs: handled at the second.
  work.Post([&] { PostRecalcClick(window); });
  ClickRecalc(window);
  EXPECT_EQ(ScoreLine(window), kLogScore);
}

TEST_F(StatisticsReloadTest, ContactAddedAtEitherPumpPoint) {
  HWND window = Run(On(log, Station()));
  const QsoRecord newContact = On(log, Contact("VK2AB", "14", "OC", "VK", ""));
  // At the first point the reload has not yet emptied the lists: the contact,
  // which is not in the log, is thrown away with them.
  work.Post([&] { EXPECT_EQ(plugin->AddQSO(newContact.data()), 10); });
  ClickRecalc(window);
  EXPECT_EQ(ScoreLine(window), kLogScore);

  // At the second it lands in the rebuilt lists and counts with the log.
  work.Post([&] { work.Post([&] { EXPECT_EQ(plugin->AddQSO(newContact.data()), 10); }); });
  ClickRecalc(window);
  EXPECT_EQ(ScoreLine(window), "Score: 22*(1+3+3)=154");
}

// A release or a close request handled inside a recalculation destroys the
// window only once the recalculation is over.
TEST_F(StatisticsReloadTest, ReleaseOrCloseAtAPumpPointWaitsForTheRecalculation) {
  struct Case {
    const char* name;
    void (*end)(host::PluginModule&, HWND);
  };
  const Case cases[] = {
      {"_Release", [](host::PluginModule& module, HWND) { module.Release(); }},
      {"WM_CLOSE", [](host::PluginModule&, HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND window = Run(On(log, Station()));
    ASSERT_TRUE(IsWindow(window));
    work.Post([&] { c.end(*plugin, window); });
    SendMessageW(GetDlgItem(window, win32::kRecalcButtonId), BM_CLICK, 0, 0);
    host::PumpMessages();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(plugin->GetScore(On(log, Contact("N1", "14", "NA", "K", "")).data()), 0);
  }
}

}  // namespace
}  // namespace zeltra::testing
