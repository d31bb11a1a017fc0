#include "tools/robot/UploadStore.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sqlite3.h>

#include <fstream>

#include "support/FileText.h"
#include "support/SqliteLog.h"

namespace zeltra::robot {
namespace {

namespace fs = std::filesystem;

LogFacts Facts(const std::string& call, std::int64_t score) {
  return {.call = call,
          .categories = "SINGLE-OP",
          .qsos = 3,
          .claimed = std::nullopt,
          .score = score,
          .sha256 = "00"};
}

TEST(UploadStore, EveryVersionIsKeptAndTheNewestOfEachCallCounts) {
  zeltra::testing::TemporaryFolder folder;
  std::int64_t first = 0;
  {
    UploadStore store(folder.path());
    const std::string bytes("first\r\n\0bytes", 13);  // byte for byte, a NUL and all
    first = store.Keep(bytes, Facts("SP9AHW", 10)).id;
    LogFacts claimed = Facts("SP9AHW", 20);
    claimed.claimed = "1,234";
    claimed.categories = "SINGLE-OP ALL LOW";
    claimed.qsos = 17;
    claimed.sha256 = "ab";
    const KeptLog second = store.Keep("second", claimed);
    EXPECT_EQ(second.replaces, first);
    EXPECT_FALSE(store.Keep("o", Facts("DL1ABC", 5)).replaces);  // one byte, one write
    EXPECT_EQ(zeltra::testing::FileText(store.FileOf(first)), bytes);
  }
  // Opened again, as after a restart: nothing lost.
  UploadStore store(folder.path());
  const std::vector<KeptLog> latest = store.Latest();
  ASSERT_EQ(latest.size(), 2u);
  EXPECT_EQ(latest[0].facts.call, "DL1ABC");
  EXPECT_EQ(latest[1].facts.call, "SP9AHW");
  // Every fact as it was kept, a claim and none.
  EXPECT_FALSE(latest[0].facts.claimed);
  EXPECT_FALSE(latest[0].replaces);
  EXPECT_EQ(latest[1].facts.claimed, "1,234");
  EXPECT_EQ(latest[1].facts.categories, "SINGLE-OP ALL LOW");
  EXPECT_EQ(latest[1].facts.qsos, 17);
  EXPECT_EQ(latest[1].facts.score, 20);
  EXPECT_EQ(latest[1].facts.sha256, "ab");
  EXPECT_EQ(latest[1].replaces, first);
  EXPECT_EQ(latest[1].received.size(), std::string("2026-12-08 17:05:03").size());
  EXPECT_EQ(zeltra::testing::FileText(store.FileOf(latest[1].id)), "second");
  EXPECT_EQ(zeltra::testing::FileText(store.FileOf(latest[0].id)), "o");
  EXPECT_TRUE(fs::exists(store.FileOf(first)));
}

// A disk that takes only part of a log (here the limit on a file's size,
// in a process of its own): the keeping fails, and leaves neither a piece
// of the log nor a record.
TEST(UploadStore, ALogTheDiskCannotHoldIsRefusedWhole) {
  zeltra::testing::TemporaryFolder folder;
  { UploadStore store(folder.path()); }
  constexpr rlim_t kLargestFile = 1000;
  constexpr unsigned kSecondsAtMost = 20;
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    alarm(kSecondsAtMost);  // a write retried for ever ends the test
    UploadStore store(folder.path());
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{kLargestFile, kLargestFile};
    setrlimit(RLIMIT_FSIZE, &limit);
    try {
      store.Keep(std::string(50'000, 'x'), Facts("SP9AHW", 1));
    } catch (const StoreFailure&) {
      _exit(fs::is_empty(folder.path() / "incoming") ? 0 : 2);
    }
    _exit(1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << "the write was retried for ever";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: kept; 2: a piece left in incoming";
  const UploadStore store(folder.path());
  EXPECT_TRUE(store.Latest().empty());
}

// The records refuse the new log (here a trigger does): the logs kept
// before are untouched, and nothing of the new one stays.
TEST(UploadStore, ALogItsRecordCannotTakeLeavesTheOthersAsTheyWere) {
  zeltra::testing::TemporaryFolder folder;
  UploadStore store(folder.path());
  const KeptLog first = store.Keep("first", Facts("SP9AHW", 1));
  sqlite3* database = nullptr;
  ASSERT_EQ(sqlite3_open((folder.path() / "robot.sqlite").c_str(), &database), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(database,
                         "CREATE TRIGGER refuse BEFORE INSERT ON logs WHEN NEW.call = 'SP0BAD' "
                         "BEGIN SELECT RAISE(ABORT, 'refused'); END",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(database);
  EXPECT_THROW(store.Keep("bad", Facts("SP0BAD", 2)), StoreFailure);
  EXPECT_EQ(zeltra::testing::FileText(store.FileOf(first.id)), "first");
  EXPECT_TRUE(fs::is_empty(folder.path() / "incoming"));
  ASSERT_EQ(store.Latest().size(), 1U);
  // And the store goes on: the next log is kept.
  EXPECT_EQ(store.Keep("next", Facts("DL1ABC", 3)).id, first.id + 1);
}

TEST(UploadStore, WhatAKilledRunLeftHalfMadeIsRemoved) {
  zeltra::testing::TemporaryFolder folder;
  { UploadStore store(folder.path()); }
  std::ofstream(folder.path() / "incoming" / "123.part") << "half";
  std::ofstream(folder.path() / "logs" / "77") << "never recorded";
  UploadStore store(folder.path());
  EXPECT_TRUE(fs::is_empty(folder.path() / "incoming"));
  EXPECT_FALSE(fs::exists(folder.path() / "logs" / "77"));
  EXPECT_TRUE(store.Latest().empty());
}

}  // namespace
}  // namespace zeltra::robot
