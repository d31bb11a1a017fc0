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

// An input is known however an output names it: through ".", "..", or a
// link to it, as it was given or otherwise.
TEST(OutputFile, AnInputIsNotWrittenOverUnderAnotherName) {
  TemporaryFolder folder;
  const fs::path log = folder.path() / "log.adi";
  std::ofstream(log) << "<CALL:4>W1AW<EOR>\n";
  fs::create_directories(folder.path() / "sub");
  fs::create_symlink(log, folder.path() / "link.adi");
  InputFiles reads;
  reads.Add((folder.path() / "sub" / ".." / "log.adi").string());
  const std::string base = folder.path().string();
  for (const std::string& output :
       {base + "/log.adi", base + "/./log.adi", base + "/sub/../log.adi", base + "/link.adi"}) {
    EXPECT_THROW(WriteWholeFile(output, "over a log\n", reads), OutputFailure) << output;
    EXPECT_EQ(FileText(log), "<CALL:4>W1AW<EOR>\n") << output;
  }
  WriteWholeFile(base + "/sub/log.adi", "beside it\n", reads);
  EXPECT_EQ(FileText(folder.path() / "sub" / "log.adi"), "beside it\n");
}

}  // namespace
}  // namespace zeltra::organiser
