// The order in which a log is put on disk for good, seen step by step: a
// disk that records each step, and whether the log's record could be read
// by then from a second connection.

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// The system's disk, each step written down, with what a reader of the
// records saw at that moment; a step can be made to fail.
class RecordingDisk : public Disk {
 public:
  explicit RecordingDisk(fs::path folder) : folder_(std::move(folder)) {}

  void Sync(int descriptor, const fs::path& path) override {
    Step("sync " + Relative(path));
    system_.Sync(descriptor, path);
  }
  void Rename(const fs::path& from, const fs::path& to) override {
    Step("rename " + Relative(from) + " " + Relative(to));
    system_.Rename(from, to);
  }
  void SyncFolder(const fs::path& folder) override {
    Step("sync folder " + Relative(folder));
    system_.SyncFolder(folder);
  }

  std::vector<std::string> steps;
  std::string failAt;  // a step that begins so throws, once it is recorded

 private:
  // A piece's random name is shown as "PIECE".
  std::string Relative(const fs::path& path) const {
    const std::string relative = fs::relative(path, folder_).string();
    return relative.rfind("incoming/", 0) == 0 ? "incoming/PIECE" : relative;
  }
  void Step(const std::string& step) {
    const bool recorded =
        fs::exists(folder_ / "robot.sqlite") && !StoreReader(folder_).Current().empty();
    steps.push_back(step + (recorded ? " (recorded)" : ""));
    if (!failAt.empty() && step.rfind(failAt, 0) == 0) throw StoreFailure("planted: " + step);
  }

  fs::path folder_;
  SystemDisk system_;
};

TEST(Durability, ALogsBytesAreOnDiskBeforeItsRecordIsSeenAndGoneIfAStepFails) {
  zeltra::testing::TemporaryFolder folder;
  RecordingDisk disk(folder.path());
  UploadStore store(folder.path(), disk);
  const Receipt kept = store.Keep("the log", FactsOf("SP9AHW"));
  const std::vector<std::string> expected = {
      "sync incoming/PIECE",
      "rename incoming/PIECE logs/1",
      "sync folder logs",
  };
  EXPECT_EQ(disk.steps, expected);
  EXPECT_EQ(StoreReader(folder.path()).Current().at(0).id, kept.log.id);
  EXPECT_EQ(zeltra::testing::FileText(LogFileIn(folder.path(), 1)), "the log");

  // A step that fails leaves nothing of the log: no record, no file, no
  // piece; the log before stays.
  for (const std::string step : {"sync incoming", "rename", "sync folder"}) {
    SCOPED_TRACE(step);
    disk.steps.clear();
    disk.failAt = step;
    EXPECT_THROW(store.Keep("lost", FactsOf("DL1ABC")), StoreFailure);
    EXPECT_EQ(StoreReader(folder.path()).Current().size(), 1U);
    EXPECT_TRUE(fs::is_empty(folder.path() / "incoming"));
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& file : fs::directory_iterator(folder.path() / "logs"))
      ++files;
    EXPECT_EQ(files, 1U);
  }
}

}  // namespace
}  // namespace zeltra::robot
