#include "tools/robot/store/UploadStore.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sqlite3.h>

#include <cctype>
#include <fstream>

#include "support/FileText.h"
#include "support/SqliteLog.h"
#include "tools/robot/store/HeldDecision.h"
#include "tools/robot/store/StoreReader.h"

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
    const Receipt receipt = store.Keep(bytes, Facts("SP9AHW", 10));
    first = receipt.log.id;
    LogFacts claimed = Facts("SP9AHW", 20);
    claimed.claimed = "1,234";
    claimed.categories = "SINGLE-OP ALL LOW";
    claimed.qsos = 17;
    claimed.sha256 = "ab";
    const Receipt firstReceipt = store.Keep("first again", Facts("SP9AHW", 10), {});
    ASSERT_EQ(firstReceipt.log.state, LogState::kHeld);  // no key: held
    const KeptLog second =
        store
            .Keep("second", claimed,
                  {.address = "192.0.2.1", .key = receipt.key, .email = std::nullopt})
            .log;
    EXPECT_EQ(second.replaces, first);
    EXPECT_FALSE(store.Keep("o", Facts("DL1ABC", 5)).log.replaces);  // one byte, one write
    EXPECT_EQ(zeltra::testing::FileText(LogFileIn(folder.path(), first)), bytes);
  }
  // Opened again, as after a restart: nothing lost.
  UploadStore reopened(folder.path());
  const StoreReader store(folder.path());
  const std::vector<KeptLog> latest = store.Current();
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
  EXPECT_EQ(latest[1].address, "192.0.2.1");
  EXPECT_EQ(latest[1].bytes, 6);
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
  EXPECT_TRUE(StoreReader(folder.path()).Current().empty());
}

// The records refuse the new log (here a trigger does): the logs kept
// before are untouched, and nothing of the new one stays.
TEST(UploadStore, ALogItsRecordCannotTakeLeavesTheOthersAsTheyWere) {
  zeltra::testing::TemporaryFolder folder;
  UploadStore store(folder.path());
  const KeptLog first = store.Keep("first", Facts("SP9AHW", 1)).log;
  sqlite3* database = nullptr;
  ASSERT_EQ(sqlite3_open((folder.path() / "robot.sqlite").c_str(), &database), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(database,
                         "CREATE TRIGGER refuse BEFORE INSERT ON logs WHEN NEW.call = 'SP0BAD' "
                         "BEGIN SELECT RAISE(ABORT, 'refused'); END",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(database);
  EXPECT_THROW(store.Keep("bad", Facts("SP0BAD", 2)), StoreFailure);
  EXPECT_EQ(zeltra::testing::FileText(LogFileIn(folder.path(), first.id)), "first");
  EXPECT_TRUE(fs::is_empty(folder.path() / "incoming"));
  ASSERT_EQ(StoreReader(folder.path()).Current().size(), 1U);
  // And the store goes on: the next log is kept.
  EXPECT_EQ(store.Keep("next", Facts("DL1ABC", 3)).log.id, first.id + 1);
}

TEST(UploadStore, WhatAKilledRunLeftHalfMadeIsRemoved) {
  zeltra::testing::TemporaryFolder folder;
  { UploadStore store(folder.path()); }
  std::ofstream(folder.path() / "incoming" / "123.part") << "half";
  std::ofstream(folder.path() / "logs" / "77") << "never recorded";
  UploadStore store(folder.path());
  EXPECT_TRUE(fs::is_empty(folder.path() / "incoming"));
  EXPECT_FALSE(fs::exists(folder.path() / "logs" / "77"));
  EXPECT_TRUE(StoreReader(folder.path()).Current().empty());
}

// A call's log is replaced only with a key one of its accepted versions
// was given; any other upload for it is held, and the log checked stays.
// The organiser's decisions move a held upload in or keep it out.
TEST(UploadStore, OnlyTheKeyOfACallsLogReplacesIt) {
  zeltra::testing::TemporaryFolder folder;
  UploadStore store(folder.path());
  const Receipt owner = store.Keep("owner's", Facts("SP9AHW", 1));
  const Receipt other = store.Keep("other call", Facts("DL1ABC", 1));
  ASSERT_EQ(owner.log.state, LogState::kAccepted);
  EXPECT_EQ(owner.key.size(), 32U);
  EXPECT_EQ(owner.key.find_first_not_of("0123456789abcdef"), std::string::npos) << owner.key;
  EXPECT_NE(owner.key, other.key);
  std::string upper = owner.key;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  struct Case {
    std::string name;
    std::optional<std::string> key;
    LogState state;
  };
  const std::vector<Case> cases = {
      {"no key", std::nullopt, LogState::kHeld},
      {"an empty key", "", LogState::kHeld},
      {"another call's key", other.key, LogState::kHeld},
      {"the key cut short", owner.key.substr(0, 31), LogState::kHeld},
      {"the key", owner.key, LogState::kAccepted},
      {"the first key again, after a replacement", owner.key, LogState::kAccepted},
      {"the key typed in capitals, with spaces around", "  " + upper + "\n", LogState::kAccepted},
  };
  std::int64_t current = owner.log.id;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Receipt receipt = store.Keep(c.name, Facts("SP9AHW", 2),
                                       {.address = "", .key = c.key, .email = std::nullopt});
    EXPECT_EQ(receipt.log.state, c.state);
    const std::vector<KeptLog> now = StoreReader(folder.path()).Current();
    ASSERT_EQ(now.size(), 2U);
    if (c.state == LogState::kAccepted) {
      EXPECT_EQ(receipt.log.replaces, current);
      current = receipt.log.id;
    } else {
      EXPECT_FALSE(receipt.log.replaces);
      EXPECT_EQ(receipt.current, current);
    }
    EXPECT_EQ(now[1].id, current);
    EXPECT_EQ(zeltra::testing::FileText(LogFileIn(folder.path(), receipt.log.id)), c.name);
  }
  // A held upload's key opens nothing until the organiser accepts it.
  const Receipt stranger = store.Keep("stranger's", Facts("SP9AHW", 3), {});
  ASSERT_EQ(stranger.log.state, LogState::kHeld);
  EXPECT_EQ(store
                .Keep("again", Facts("SP9AHW", 3),
                      {.address = "", .key = stranger.key, .email = std::nullopt})
                .log.state,
            LogState::kHeld);
  const StoreReader reader(folder.path());
  EXPECT_EQ(reader.Held().size(), 6U);
  EXPECT_THROW(DecideHeld(folder.path(), current, LogState::kRejected), StoreFailure);
  EXPECT_THROW(DecideHeld(folder.path(), 999, LogState::kAccepted), StoreFailure);
  const KeptLog rejected = DecideHeld(folder.path(), stranger.log.id, LogState::kRejected);
  EXPECT_EQ(rejected.state, LogState::kRejected);
  EXPECT_EQ(reader.Current()[1].id, current);
  EXPECT_THROW(DecideHeld(folder.path(), stranger.log.id, LogState::kAccepted), StoreFailure);
  // The oldest held one accepted becomes the call's log, though newer
  // ones came since; its key then opens.
  const Receipt first = store.Keep("held, then accepted", Facts("SP9AHW", 4), {});
  const KeptLog accepted = DecideHeld(folder.path(), first.log.id, LogState::kAccepted);
  EXPECT_EQ(accepted.replaces, current);
  EXPECT_EQ(reader.Current()[1].id, first.log.id);
  EXPECT_EQ(store
                .Keep("by the accepted one's key", Facts("SP9AHW", 5),
                      {.address = "", .key = first.key, .email = std::nullopt})
                .log.state,
            LogState::kAccepted);
  EXPECT_EQ(reader.Versions("SP9AHW").size(), 12U);
  EXPECT_TRUE(reader.Versions("SP9AHX").empty());
}

}  // namespace
}  // namespace zeltra::robot
