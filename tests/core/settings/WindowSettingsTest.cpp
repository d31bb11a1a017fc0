#include "core/settings/WindowSettings.h"

#include <gtest/gtest.h>

#include <string>

namespace zeltra {
namespace {

const Screen kScreen{1600, 1200, 96, {{0, 0, 1600, 1170}}};
const Rect kDesignedMain{943, 201, 1343, 420};
const Rect kDesignedList{1020, 164, 1359, 346};

WindowSettings MainStorage() {
  return WindowSettings("TfmMainForm", {.sizeable = false, .showState = true, .currentBand = true});
}
WindowSettings ListStorage() {
  return WindowSettings("TfmDomList", {.sizeable = true, .showState = false, .currentBand = false});
}

TEST(WindowSettings, SavesEveryValueInOrder) {
  IniDocument settings = IniDocument::Parse("[Other]\r\nKeep=1\r\n");
  WindowSettings storage = MainStorage();
  storage.Restore(settings, kDesignedMain, kScreen);
  storage.SetCurrentBand(5);
  storage.Save(settings, {0, 2, {-32000, -32000}, {-1, -1}, {100, 50, 500, 269}}, kScreen, true);
  EXPECT_EQ(settings.Serialize(),
            "[Other]\r\nKeep=1\r\n\r\n"
            "[TfmMainForm]\r\n"
            "FormVersion=0\r\nFlags=0\r\nShowCmd=2\r\nPixelsPerInch=96\r\n"
            "MinMaxPos(1600x1200)=-32000,-32000,-1,-1\r\nMinMaxPos=-32000,-32000,-1,-1\r\n"
            "NormPos(1600x1200)=100,50,500,269\r\nNormPos=100,50,500,269\r\n"
            "Visible=1\r\nCurrentBand=5\r\n");
  // Saved since restored: the save at destruction writes nothing more.
  storage.Save(settings, {}, kScreen, false);
  EXPECT_EQ(settings.Get("TfmMainForm", "Visible"), "1");
}

TEST(WindowSettings, RestoreRules) {
  struct Case {
    const char* name;
    std::string text;
    bool sizeable;
    std::optional<Rect> place;
    bool maximized;
  };
  const Case cases[] = {
      {"nothing stored", "", false, std::nullopt, false},
      {"fixed border takes the position only",
       "[W]\nNormPos=10,20,30,40\nPixelsPerInch=96\nShowCmd=3", false, Rect{10, 20, 410, 239},
       true},
      {"sizeable takes the whole rectangle", "[W]\nNormPos=10,20,300,240", true,
       Rect{10, 20, 300, 240}, false},
      {"screen-size name first", "[W]\nNormPos(1600x1200)=5,6,300,200\nNormPos=10,20,300,240", true,
       Rect{5, 6, 300, 200}, false},
      {"another screen size falls back to the plain name",
       "[W]\nNormPos(1024x768)=5,6,300,200\nNormPos=10,20,300,240", true, Rect{10, 20, 300, 240},
       false},
      {"other pixels per inch ignore positions", "[W]\nNormPos=10,20,300,240\nPixelsPerInch=120",
       true, std::nullopt, false},
      {"negative version restores nothing", "[W]\nFormVersion=-1\nNormPos=10,20,300,240\nShowCmd=3",
       true, std::nullopt, false},
      {"a later version restores as the first does",
       "[W]\nFormVersion=2\nNormPos=10,20,300,240\nShowCmd=3", true, Rect{10, 20, 300, 240}, true},
      {"an empty screen-size name gives way to the plain one",
       "[W]\nNormPos(1600x1200)=\nNormPos=10,20,300,240", true, Rect{10, 20, 300, 240}, false},
      {"numbers past the four are no part of it", "[W]\nNormPos=10,20,300,240,7,8,9999999999", true,
       Rect{10, 20, 300, 240}, false},
      {"left edge at the monitor's right edge: on no monitor", "[W]\nNormPos=1600,20,1900,240",
       true, std::nullopt, false},
      {"right edge at the monitor's left edge: on no monitor", "[W]\nNormPos=-300,20,0,240", true,
       std::nullopt, false},
      {"one pixel on the monitor", "[W]\nNormPos=1599,1169,1900,1400", true,
       Rect{1599, 1169, 1900, 1400}, false},
      {"minimized opens normal", "[W]\nShowCmd=2", false, std::nullopt, false},
      {"only MinMaxPos: the current rectangle", "[W]\nMinMaxPos=1,2,3,4", true, kDesignedMain,
       false},
      {"short NormPos takes defaults", "[W]\nNormPos=1,2", true, Rect{1, 2, 1343, 420}, false},
      {"garbage numbers take defaults", "[W]\nNormPos=a,b,,1400 x", true, Rect{943, 201, 1400, 420},
       false},
      {"left not less than right", "[W]\nNormPos=500,20,300,240", true, std::nullopt, false},
      {"off every monitor", "[W]\nNormPos=5000,5000,5300,5200", true, std::nullopt, false},
      {"partly on a monitor", "[W]\nNormPos=1500,1000,1800,1300", true,
       Rect{1500, 1000, 1800, 1300}, false},
      {"numbers out of range", "[W]\nNormPos=99999999999,2,1500,400\nShowCmd=3000000000", true,
       Rect{943, 2, 1500, 400}, false},
      {"keys in another case", "[w]\nnormpos=10,20,300,240", true, Rect{10, 20, 300, 240}, false},
      {"top at bottom", "[W]\nNormPos=10,240,300,240", true, std::nullopt, false},
      {"left at right", "[W]\nNormPos=300,20,300,240", true, std::nullopt, false},
      {"only the maximized show state opens maximized", "[W]\nNormPos=10,20,300,240\nShowCmd=5",
       true, Rect{10, 20, 300, 240}, false},
      {"top below bottom", "[W]\nNormPos=10,300,300,240", true, std::nullopt, false},
      {"fixed border: left + width past the largest number", "[W]\nNormPos=2147483600,20,30,40",
       false, std::nullopt, false},
      {"fixed border: top + height past the largest number", "[W]\nNormPos=10,2147483647,30,40",
       false, std::nullopt, false},
      {"fixed border: the smallest numbers", "[W]\nNormPos=-2147483648,-2147483648,0,0", false,
       std::nullopt, false},
      {"sizeable: width past the largest number", "[W]\nNormPos=-2147483648,0,2147483647,100", true,
       std::nullopt, false},
      {"sizeable: height past the largest number", "[W]\nNormPos=0,-2147483648,100,2147483647",
       true, std::nullopt, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WindowSettings storage("W", {.sizeable = c.sizeable, .showState = true, .currentBand = false});
    const RestoredPlacement restored =
        storage.Restore(IniDocument::Parse(c.text), kDesignedMain, kScreen);
    EXPECT_EQ(restored.normal, c.place);
    EXPECT_EQ(restored.maximized, c.maximized);
  }
}

// Edges past the largest number are no window's, even where no monitor
// list could rule them out.
TEST(WindowSettings, EdgesPastTheLargestNumberOnAnyScreen) {
  const Screen unknownMonitors{1600, 1200, 96, {}};
  for (const char* normPos : {"2147483600,20,30,40", "20,2147483600,30,40"}) {
    SCOPED_TRACE(normPos);
    WindowSettings storage = MainStorage();
    const auto restored =
        storage.Restore(IniDocument::Parse(std::string("[TfmMainForm]\nNormPos=") + normPos),
                        kDesignedMain, unknownMonitors);
    EXPECT_EQ(restored.normal, std::nullopt);
  }
  WindowSettings storage = MainStorage();
  EXPECT_EQ(storage
                .Restore(IniDocument::Parse("[TfmMainForm]\nNormPos=-5000,-300,0,0"), kDesignedMain,
                         unknownMonitors)
                .normal,
            (Rect{-5000, -300, -4600, -81}));
}

// Positions count only on a screen of the density they were saved at; a
// file that does not say keeps them.
TEST(WindowSettings, RestoreAtOtherPixelsPerInch) {
  for (const int dpi : {120, 144}) {
    const Screen screen{1600, 1200, dpi, {{0, 0, 1600, 1170}}};
    struct Case {
      std::string saved;
      std::optional<Rect> place;
    };
    const Case cases[] = {
        {"PixelsPerInch=96\n", std::nullopt},
        {"PixelsPerInch=" + std::to_string(dpi) + "\n", Rect{10, 20, 300, 240}},
        {"", Rect{10, 20, 300, 240}},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(std::to_string(dpi) + ": " + c.saved);
      WindowSettings storage = ListStorage();
      const auto restored = storage.Restore(
          IniDocument::Parse("[TfmDomList]\n" + c.saved + "NormPos=10,20,300,240\n"), kDesignedList,
          screen);
      EXPECT_EQ(restored.normal, c.place);
    }
  }
}

TEST(WindowSettings, CurrentBandAsStored) {
  struct Case {
    const char* text;
    std::optional<int> band;
  };
  const Case cases[] = {{"", 0},
                        {"[TfmMainForm]\nCurrentBand=5", 5},
                        {"[TfmMainForm]\nCurrentBand=abc", std::nullopt},
                        {"[TfmMainForm]\nCurrentBand=99", 99},
                        {"[TfmMainForm]\nCurrentBand=-1", -1},
                        {"[TfmMainForm]\nCurrentBand=7\n[TfmMainForm]\nCurrentBand=8", 7}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    WindowSettings storage = MainStorage();
    storage.Restore(IniDocument::Parse(c.text), kDesignedMain, kScreen);
    EXPECT_EQ(storage.CurrentBandNumber(), c.band);
  }
}

// Damaged files: the window opens where designed, and the next save writes
// a well-formed section.
TEST(WindowSettings, DamagedFilesGiveWayToAWellFormedSave) {
  const std::string garbage("\x01\xff[Tfm\0DomList]\x7f=\x80\n\n", 17);
  const std::string cases[] = {
      "",
      "[TfmDomList",
      "[TfmDomList]\nNormPos=1,2,3",
      garbage,
      "[TfmDomList]\nNormPos=10,20,300,240\n[TfmDomList]\nNormPos=1,1,2,2\nNormPos=3,3,4,4",
      "[TfmDomList]\nNormPos=" + std::string(100000, '9') + "\n",
  };
  for (const std::string& text : cases) {
    SCOPED_TRACE(text.substr(0, 40));
    IniDocument settings = IniDocument::Parse(text);
    WindowSettings storage = ListStorage();
    storage.Restore(settings, kDesignedList, kScreen);
    storage.Save(settings, {0, 1, {0, 0}, {0, 0}, kDesignedList}, kScreen, false);
    const IniDocument reread = IniDocument::Parse(settings.Serialize());
    EXPECT_EQ(reread.Get("TfmDomList", "NormPos"), "1020,164,1359,346");
    WindowSettings again = ListStorage();
    EXPECT_EQ(again.Restore(reread, Rect{0, 0, 10, 10}, kScreen).normal, kDesignedList);
    const std::string serialized = settings.Serialize();
    EXPECT_EQ(serialized.find('\0'), std::string::npos);
    // One section, one value of each name.
    EXPECT_EQ(serialized.find("[TfmDomList]"), serialized.rfind("[TfmDomList]"));
    EXPECT_EQ(serialized.find("\r\nNormPos="), serialized.rfind("\r\nNormPos="));
  }
}

}  // namespace
}  // namespace zeltra
