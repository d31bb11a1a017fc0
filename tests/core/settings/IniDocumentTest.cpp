#include "core/settings/IniDocument.h"

#include <gtest/gtest.h>

namespace zeltra {
namespace {

TEST(IniDocument, WritingOneSectionKeepsEverythingElseAsItStands) {
  IniDocument settings = IniDocument::Parse(
      "; comment\r\n[First]\r\nA = 1\r\n\r\n[Mine]\nOld=x\nNormPos(800x600)=1,2,3,4\rOther=y\n"
      "[Last]\r\nB=2");
  settings.Write("MINE", {{"Old", "new"}, {"Added", "z"}});
  EXPECT_EQ(settings.Serialize(),
            "; comment\r\n[First]\r\nA = 1\r\n\r\n"
            "[MINE]\r\nNormPos(800x600)=1,2,3,4\r\nOther=y\r\nOld=new\r\nAdded=z\r\n"
            "[Last]\r\nB=2\r\n");
  EXPECT_EQ(settings.Get("first", "a"), "1");
  EXPECT_EQ(settings.Get("Mine", "OLD"), "new");
  EXPECT_EQ(settings.Get("Mine", "Missing"), std::nullopt);
  EXPECT_EQ(settings.Get("Nowhere", "A"), std::nullopt);
}

TEST(IniDocument, DuplicatesReadTheFirstAndMergeOnWrite) {
  IniDocument settings = IniDocument::Parse("[S]\nK=1\nK=2\n[T]\nX=0\n[S]\nK=3\nL=4\n");
  EXPECT_EQ(settings.Get("S", "K"), "1");
  settings.Write("S", {{"K", "9"}});
  EXPECT_EQ(settings.Serialize(), "[S]\r\nL=4\r\nK=9\r\n[T]\r\nX=0\r\n");
}

TEST(IniDocument, NewSectionStandsApartAtTheEnd) {
  IniDocument settings = IniDocument::Parse("[A]\nX=1");
  settings.Write("B", {{"Y", "2"}});
  EXPECT_EQ(settings.Serialize(), "[A]\r\nX=1\r\n\r\n[B]\r\nY=2\r\n");
  IniDocument empty = IniDocument::Parse("");
  empty.Write("B", {{"Y", "2"}});
  EXPECT_EQ(empty.Serialize(), "[B]\r\nY=2\r\n");
}

// A heading that cannot be read takes its lines along: they are neither
// read as nor saved into the section above.
TEST(IniDocument, DroppedHeadingNeverMovesLinesIntoAnotherSection) {
  const std::string longName(IniDocument::kMaxLineLength, 'x');
  const std::string headings[] = {
      std::string("[TfmDom\0List]", 13),
      "[" + longName + "]",
      "[TfmDom\x01List]",
      "[TfmDomList",
  };
  for (const std::string& heading : headings) {
    SCOPED_TRACE(heading.substr(0, 20));
    IniDocument settings = IniDocument::Parse("[TfmMainForm]\r\nNormPos=1,2,3,4\r\n" + heading +
                                              "\r\nNormPos=5,6,7,8\r\nFlags=9\r\n"
                                              "[Other]\r\nKeep=1\r\n");
    EXPECT_EQ(settings.Get("TfmMainForm", "NormPos"), "1,2,3,4");
    EXPECT_EQ(settings.Get("TfmMainForm", "Flags"), std::nullopt);
    EXPECT_EQ(settings.Get("TfmDomList", "NormPos"), std::nullopt);
    EXPECT_EQ(settings.Get("Other", "Keep"), "1");
    settings.Write("TfmMainForm", {{"NormPos", "10,20,30,40"}});
    EXPECT_EQ(settings.Serialize(),
              "[TfmMainForm]\r\nNormPos=10,20,30,40\r\n[Other]\r\nKeep=1\r\n");
  }
}

// The file is the plug-in's own: what is not a heading, a value, a comment
// or a blank line is not written back. Well-formed foreign lines are.
TEST(IniDocument, SavesOnlyWellFormedLines) {
  static const char kTail[] = "\r\nNul=a\0b\r\n[Mine]\r\nX=1\r\n\x7f\r\n";
  const std::string text =
      std::string(
          "; kept\r\n# kept too\r\n  \t\r\n[Foreign]\r\nA = 1\r\n\x80\xff=high\r\n"
          "garbage without equals\r\n\x01\x02=\x03\r\n=no name\r\n"
          "Long=") +
      std::string(IniDocument::kMaxLineLength, 'v') + std::string(kTail, sizeof kTail - 1);
  IniDocument settings = IniDocument::Parse(text);
  EXPECT_EQ(settings.Get("Foreign", "\x80\xff"), "high");
  EXPECT_EQ(settings.Get("Foreign", "Long"), std::nullopt);
  EXPECT_EQ(settings.Get("Foreign", "Nul"), std::nullopt);
  settings.Write("Mine", {{"X", "2"}});
  EXPECT_EQ(settings.Serialize(),
            "; kept\r\n# kept too\r\n  \t\r\n[Foreign]\r\nA = 1\r\n\x80\xff=high\r\n"
            "[Mine]\r\nX=2\r\n");
}

TEST(IniDocument, ADeleteByteSpoilsOnlyItsOwnLine) {
  IniDocument settings = IniDocument::Parse("[W]\r\nA=1\r\nB\x7f=2\r\nC=3\x7f\r\nD=4\r\n");
  EXPECT_EQ(settings.Get("W", "A"), "1");
  EXPECT_EQ(settings.Get("W", "D"), "4");
  settings.Write("W", {{"E", "5"}});
  const std::string written = settings.Serialize();
  EXPECT_EQ(written.find('\x7f'), std::string::npos) << written;
  EXPECT_EQ(IniDocument::Parse(written).Get("W", "D"), "4");
  EXPECT_EQ(IniDocument::Parse(written).Get("W", "E"), "5");
}

// A text far larger than any settings file reads as an empty one; right at
// the limit it is read.
TEST(IniDocument, OversizedTextReadsAsEmpty) {
  const std::string head = "[Mine]\r\nX=1\r\n";
  std::string atLimit = head + std::string(IniDocument::kMaxTextSize - head.size(), '\n');
  EXPECT_EQ(IniDocument::Parse(atLimit).Get("Mine", "X"), "1");
  atLimit += '\n';
  IniDocument oversized = IniDocument::Parse(atLimit);
  EXPECT_EQ(oversized.Get("Mine", "X"), std::nullopt);
  oversized.Write("Mine", {{"X", "2"}});
  EXPECT_EQ(oversized.Serialize(), "[Mine]\r\nX=2\r\n");
}

}  // namespace
}  // namespace zeltra
