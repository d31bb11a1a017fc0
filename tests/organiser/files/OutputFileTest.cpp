#include "organiser/files/OutputFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "support/FileText.h"
#include "support/SqliteLog.h"

namespace zeltra::organiser {
namespace {

namespace fs = std::filesystem;
using testing::FileText;
using testing::TemporaryFolder;

// A file written piece by piece is the whole new text or the old one:
// a failure on the way leaves the old file and nothing beside it.
TEST(OutputFile, AFailedWriteLeavesTheOldFileAndNoPiece) {
  TemporaryFolder folder;
  const fs::path target = folder.path() / "verdicts.csv";
  std::ofstream(target) << "old\n";
  const std::string name = target.string();
  EXPECT_THROW(WriteFile(name, InputFiles{},
                         [](std::ostream& out) {
                           out << "half of the new";
                           throw std::runtime_error("out of memory");
                         }),
               std::runtime_error);
  EXPECT_EQ(FileText(target), "old\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);

  WriteFile(name, InputFiles{}, [](std::ostream& out) {
    out << "new\n"
        << "rows\n";
  });
  EXPECT_EQ(FileText(target), "new\nrows\n");
  EXPECT_FALSE(fs::exists(folder.path() / "verdicts.csv.part"));

  InputFiles reads;
  reads.Add(name);
  EXPECT_THROW(WriteWholeFile(name, "over a log\n", reads), OutputFailure);
  EXPECT_EQ(FileText(target), "new\nrows\n");
}

}  // namespace
}  // namespace zeltra::organiser
