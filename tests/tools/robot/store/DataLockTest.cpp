// One robot owns a data folder: a second one is refused and told who holds
// it; the organiser's commands read beside it and clean nothing; records an
// older robot made are brought up to date by the serving one only.

#include "tools/robot/store/DataLock.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "support/FileText.h"
#include "support/SqliteLog.h"
#include "tools/robot/store/StoreReader.h"
#include "tools/robot/store/UploadStore.h"

namespace zeltra::robot {
namespace {

namespace fs = std::filesystem;

// A log's facts: its call, the rest as any log's.
LogFacts FactsOf(const std::string& call) {
  LogFacts facts;
  facts.call = call;
  facts.sha256 = "00";
  return facts;
}

std::string FailureOf(const std::function<void()>& open) {
  try {
    open();
  } catch (const StoreFailure& failure) {
    return failure.what();
  }
  return "no failure";
}

TEST(DataLock, OneStoreAtATimeAndReadersBesideIt) {
  zeltra::testing::TemporaryFolder folder;
  {
    UploadStore serving(folder.path());
    serving.Keep("kept", FactsOf("SP9AHW"));
    const std::string told = FailureOf([&] { UploadStore second(folder.path()); });
    EXPECT_NE(told.find("is served by another robot: process " + std::to_string(getpid())),
              std::string::npos)
        << told;
    // A piece of an upload under way and a log being named: a reader
    // leaves both where they are.
    std::ofstream(folder.path() / "incoming" / "1.part") << "arriving";
    std::ofstream(folder.path() / "logs" / "2") << "being committed";
    const StoreReader reader(folder.path());
    EXPECT_EQ(reader.Current().size(), 1U);
    EXPECT_TRUE(fs::exists(folder.path() / "incoming" / "1.part"));
    EXPECT_TRUE(fs::exists(folder.path() / "logs" / "2"));
  }
  // The holder gone, the next one takes the folder, and cleans.
  UploadStore next(folder.path());
  EXPECT_FALSE(fs::exists(folder.path() / "logs" / "2"));
  EXPECT_EQ(zeltra::testing::FileText(LogFileIn(folder.path(), 1)), "kept");
  EXPECT_NE(
      FailureOf([&] { StoreReader(folder.path() / "none"); }).find("holds no robot's records"),
      std::string::npos);
}

// Records as the first robot wrote them: a reader is told to start the
// robot on them; the robot takes them, each log current and accepted.
TEST(DataLock, RecordsOfAnOlderRobotAreBroughtUpToDateByTheServingOne) {
  zeltra::testing::TemporaryFolder folder;
  fs::create_directories(folder.path() / "logs");
  sqlite3* database = nullptr;
  ASSERT_EQ(sqlite3_open((folder.path() / "robot.sqlite").c_str(), &database), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(database,
                         "PRAGMA journal_mode=WAL;"
                         "CREATE TABLE logs (id INTEGER PRIMARY KEY, call TEXT NOT NULL, "
                         "categories TEXT NOT NULL, qsos INTEGER NOT NULL, claimed TEXT, score "
                         "INTEGER NOT NULL, sha256 TEXT NOT NULL, received TEXT NOT NULL, "
                         "replaces INTEGER);"
                         "INSERT INTO logs VALUES (1, 'SP9AHW', 'SO', 3, NULL, 9, 'aa', "
                         "'2026-12-06 10:00:00', NULL);"
                         "INSERT INTO logs VALUES (2, 'SP9AHW', 'SO', 4, NULL, 12, 'bb', "
                         "'2026-12-06 11:00:00', 1);"
                         "INSERT INTO logs VALUES (3, 'DL1ABC', 'SO', 1, '5', 3, 'cc', "
                         "'2026-12-06 12:00:00', NULL);",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(database);
  for (const char* id : {"1", "2", "3"}) std::ofstream(folder.path() / "logs" / id) << id;
  EXPECT_NE(FailureOf([&] { StoreReader{folder.path()}; }).find("start zeltra-robot serve"),
            std::string::npos);
  {
    UploadStore store(folder.path());
    // A log kept before keys were given is held without one.
    EXPECT_EQ(store.Keep("new", FactsOf("SP9AHW")).log.state, LogState::kHeld);
    EXPECT_EQ(store.Keep("new", FactsOf("SP5NEW")).log.id, 5);
  }
  const std::vector<KeptLog> current = StoreReader(folder.path()).Current();
  ASSERT_EQ(current.size(), 3U);
  EXPECT_EQ(current[0].id, 3);
  EXPECT_EQ(current[0].facts.claimed, "5");
  EXPECT_EQ(current[1].id, 5);
  EXPECT_EQ(current[2].id, 2);
  EXPECT_EQ(current[2].replaces, 1);
  EXPECT_EQ(current[2].received, "2026-12-06 11:00:00");
}

}  // namespace
}  // namespace zeltra::robot
