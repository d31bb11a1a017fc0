#include "settings/IniDocument.h"

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

}  // namespace
}  // namespace zeltra
