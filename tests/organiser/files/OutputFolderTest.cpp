#include "organiser/files/OutputFolder.h"

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

void Page(const OutputFolder& folder, const std::string& leaf, const std::string& text) {
  folder.Write(leaf, InputFiles{}, [&](std::ostream& out) { out << text; });
}

std::size_t EntriesIn(const fs::path& folder) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// A hostile entrant who can plant links in the site's folder makes the
// run write no file outside it: a link where a page goes is replaced, a
// link where a folder goes is refused, a link left as a piece goes.
TEST(OutputFolder, ALinkPlantedInTheFolderIsNeverWrittenThrough) {
  TemporaryFolder scratch;
  const fs::path outside = scratch.path() / "outside.txt";
  std::ofstream(outside) << "the organiser's own file\n";
  const fs::path site = scratch.path() / "site";
  fs::create_directories(site / "entrants");
  fs::create_symlink(outside, site / "entrants" / "SP9AHW.html");
  fs::create_symlink(outside, site / "entrants" / "DL1ABC.html.part");
  fs::create_directories(scratch.path() / "elsewhere");
  fs::create_symlink(scratch.path() / "elsewhere", site / "linked");

  const OutputFolder root(site.string());
  const OutputFolder entrants = root.Within("entrants");
  Page(entrants, "SP9AHW.html", "SP9AHW's page\n");
  Page(entrants, "DL1ABC.html", "DL1ABC's page\n");
  EXPECT_EQ(FileText(outside), "the organiser's own file\n");
  EXPECT_FALSE(fs::is_symlink(site / "entrants" / "SP9AHW.html"));
  EXPECT_EQ(FileText(site / "entrants" / "SP9AHW.html"), "SP9AHW's page\n");
  EXPECT_EQ(FileText(site / "entrants" / "DL1ABC.html"), "DL1ABC's page\n");
  EXPECT_EQ(EntriesIn(site / "entrants"), 2u);

  try {
    root.Within("linked");
    ADD_FAILURE() << "a link taken for a folder";
  } catch (const OutputFailure& failure) {
    EXPECT_EQ(std::string(failure.what()),
              "cannot write into " + (site / "linked").string() + ": it is a symbolic link");
  }
  EXPECT_EQ(EntriesIn(scratch.path() / "elsewhere"), 0u);
}

// A page is the whole new text or the old one; a file the run reads is
// never replaced; a folder where a page goes is told.
TEST(OutputFolder, APageIsWrittenWholeOrNotAtAll) {
  TemporaryFolder scratch;
  const OutputFolder folder((scratch.path() / "site").string());
  Page(folder, "index.html", "old\n");
  EXPECT_THROW(folder.Write("index.html", InputFiles{},
                            [](std::ostream& out) {
                              out << "half of the new";
                              throw std::runtime_error("out of memory");
                            }),
               std::runtime_error);
  EXPECT_EQ(FileText(scratch.path() / "site" / "index.html"), "old\n");
  EXPECT_EQ(EntriesIn(scratch.path() / "site"), 1u);

  InputFiles reads;
  reads.Add((scratch.path() / "site" / "." / "index.html").string());
  EXPECT_THROW(folder.Write("index.html", reads, [](std::ostream& out) { out << "over a log\n"; }),
               OutputFailure);
  EXPECT_EQ(FileText(scratch.path() / "site" / "index.html"), "old\n");

  fs::create_directories(scratch.path() / "site" / "a-folder.html");
  EXPECT_THROW(Page(folder, "a-folder.html", "text\n"), OutputFailure);
  EXPECT_TRUE(fs::is_directory(scratch.path() / "site" / "a-folder.html"));
  EXPECT_TRUE(folder.Holds("a-folder.html"));
  EXPECT_FALSE(folder.Holds("none.html"));
}

// Whatever the sizes of the pieces a page is written in, below, at and
// above the buffer's, the page holds them all in order.
TEST(OutputFolder, PiecesOfAnySizeAreWrittenInOrder) {
  constexpr std::size_t kBuffer = 64 * 1024;
  const std::vector<std::vector<std::size_t>> cases = {{1, kBuffer, 1},
                                                       {kBuffer - 1, kBuffer + 1},
                                                       {3 * kBuffer + 5},
                                                       {40000, 40000, 40000},
                                                       {10, 20, 2 * kBuffer, 0, 7}};
  TemporaryFolder scratch;
  OutputFolder folder((scratch.path() / "site").string());
  for (std::size_t k = 0; k < cases.size(); ++k) {
    std::string expected;
    for (std::size_t piece = 0; piece < cases[k].size(); ++piece)
      expected += std::string(cases[k][piece], static_cast<char>('a' + piece));
    const auto write = [&](std::ostream& out) {
      for (std::size_t piece = 0, at = 0; piece < cases[k].size(); at += cases[k][piece++])
        out << expected.substr(at, cases[k][piece]);
    };
    const std::string leaf = "page" + std::to_string(k) + ".html";
    folder.Write(leaf, InputFiles{}, write);
    EXPECT_EQ(FileText(scratch.path() / "site" / leaf), expected) << k;
    folder.Stage("staged" + leaf, InputFiles{}, write);
    folder.Commit();
    EXPECT_EQ(FileText(scratch.path() / "site" / ("staged" + leaf)), expected) << k;
  }
}

// Pages a run no longer makes go, with the pieces a failed run left; what
// the organiser put beside them stays.
TEST(OutputFolder, OnlyObsoletePagesAreRemoved) {
  TemporaryFolder scratch;
  const fs::path site = scratch.path() / "site";
  const OutputFolder folder(site.string());
  for (const char* leaf :
       {"SP9AHW.html", "DL1ABC.html", "OLD1.html", "OLD2.html.part", "style.css", "notes.txt.part"})
    std::ofstream(site / leaf) << leaf;
  EXPECT_EQ(folder.RemoveOthers(".html", {"SP9AHW.html", "DL1ABC.html"}),
            (std::vector<std::string>{"OLD1.html", "OLD2.html.part"}));
  std::set<std::string> left;
  for (const auto& entry : fs::directory_iterator(site))
    left.insert(entry.path().filename().string());
  EXPECT_EQ(left,
            (std::set<std::string>{"SP9AHW.html", "DL1ABC.html", "style.css", "notes.txt.part"}));
}

// Pages staged are beside their places until the folder commits them, all
// synced at once; a link planted where one goes is replaced then too. A
// page that cannot be put in place is said, and those after it are not
// left behind as pieces; nor are those of a run that never commits.
TEST(OutputFolder, StagedPagesArePutInPlaceTogetherOrNotAtAll) {
  TemporaryFolder scratch;
  const fs::path outside = scratch.path() / "outside.txt";
  std::ofstream(outside) << "the organiser's own file\n";
  const fs::path site = scratch.path() / "site";
  fs::create_directories(site / "DL1ABC.html" / "in-the-way");
  fs::create_symlink(outside, site / "SP9AHW.html");
  const auto stage = [](OutputFolder& folder, const std::string& leaf) {
    folder.Stage(leaf, InputFiles{}, [&](std::ostream& out) { out << leaf << "'s page\n"; });
  };
  {
    OutputFolder root(site.string());
    stage(root, "SP9AHW.html");
    stage(root, "SP1AAA.html");
    EXPECT_TRUE(fs::is_symlink(site / "SP9AHW.html"));
    EXPECT_FALSE(fs::exists(site / "SP1AAA.html"));
    EXPECT_TRUE(fs::exists(site / "SP1AAA.html.part"));
    root.Commit();
    EXPECT_EQ(FileText(site / "SP9AHW.html"), "SP9AHW.html's page\n");
    EXPECT_EQ(FileText(site / "SP1AAA.html"), "SP1AAA.html's page\n");
    EXPECT_EQ(FileText(outside), "the organiser's own file\n");

    stage(root, "SP2BBB.html");
    stage(root, "DL1ABC.html");  // a folder holds its place
    stage(root, "SP3CCC.html");
    try {
      root.Commit();
      ADD_FAILURE() << "a page put where a folder is";
    } catch (const OutputFailure& failure) {
      EXPECT_EQ(std::string(failure.what())
                    .rfind("cannot write " + (site / "DL1ABC.html").string() + ": ", 0),
                0u)
          << failure.what();
    }
    EXPECT_EQ(FileText(site / "SP2BBB.html"), "SP2BBB.html's page\n");
    EXPECT_FALSE(fs::exists(site / "SP3CCC.html"));
    EXPECT_FALSE(fs::exists(site / "SP3CCC.html.part"));
    EXPECT_FALSE(fs::exists(site / "DL1ABC.html.part"));

    stage(root, "SP4DDD.html");
  }
  EXPECT_FALSE(fs::exists(site / "SP4DDD.html.part"));
  EXPECT_FALSE(fs::exists(site / "SP4DDD.html"));
  EXPECT_EQ(EntriesIn(site), 4u);  // SP9AHW, SP1AAA, SP2BBB, the folder
}

// A page that cannot be written, or put in place, leaves no piece behind.
TEST(OutputFolder, AFailedWriteLeavesNoPiece) {
  TemporaryFolder scratch;
  const fs::path site = scratch.path() / "site";
  fs::create_directories(site / "DL1ABC.html" / "in-the-way");
  const OutputFolder root(site.string());
  EXPECT_THROW(Page(root, "DL1ABC.html", "DL1ABC's page\n"), OutputFailure);
  EXPECT_THROW(root.Write("SP1AAA.html", InputFiles{},
                          [](std::ostream& out) {
                            out << "half a page";
                            throw OutputFailure("the page could not be made");
                          }),
               OutputFailure);
  EXPECT_EQ(EntriesIn(site), 1u);  // the folder in the way, alone
}

}  // namespace
}  // namespace zeltra::organiser
