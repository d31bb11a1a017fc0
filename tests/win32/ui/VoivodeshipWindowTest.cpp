#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/ui/Colour.h"
#include "win32/support/TestHost.h"
#include "win32/ui/StatisticsWindowIds.h"
#include "win32/ui/VoivodeshipWindowIds.h"

namespace zeltra::testing {
namespace {

constexpr int kBand14 = 5;
constexpr int kBand21 = 7;
constexpr int kBand10 = 4;

HWND Button(HWND voivodeship, int band) {
  return GetDlgItem(voivodeship, win32::kBandButtonIdBase + band);
}

// The band whose button is down; 0 when none or more than one is.
int BandDown(HWND voivodeship) {
  int down = 0;
  for (int band = 1; band <= 9; ++band) {
    if (SendMessageW(Button(voivodeship, band), BM_GETCHECK, 0, 0) != BST_CHECKED) continue;
    if (down != 0) return 0;
    down = band;
  }
  return down;
}

std::vector<std::string> ListTexts(HWND voivodeship) {
  HWND list = GetDlgItem(voivodeship, win32::kVoivodeshipListId);
  std::vector<std::string> texts;
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[16] = {};
    LVITEMA item{};
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    texts.emplace_back(text);
  }
  return texts;
}

// Whether the list item of letter is drawn with pure red pixels.
bool DrawnRed(HWND voivodeship, char letter) {
  HWND list = GetDlgItem(voivodeship, win32::kVoivodeshipListId);
  RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const auto texts = ListTexts(voivodeship);
  int index = -1;
  for (std::size_t i = 0; i < texts.size(); ++i)
    if (texts[i] == std::string(1, letter)) index = static_cast<int>(i);
  RECT item{};
  item.left = LVIR_LABEL;
  SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  HDC dc = GetDC(list);
  bool red = false;
  for (int y = item.top; y < item.bottom && !red; ++y)
    for (int x = item.left; x < item.right && !red; ++x) red = GetPixel(dc, x, y) == RGB(255, 0, 0);
  ReleaseDC(list, dc);
  return red;
}

// A pixel of a control as it is drawn now.
COLORREF PixelOf(HWND control, int x, int y) {
  RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC dc = GetDC(control);
  const COLORREF pixel = GetPixel(dc, x, y);
  ReleaseDC(control, dc);
  return pixel;
}

// How many pixels in the left part of a band button's face, inside its
// edges and clear of its caption, have the highlight colour: the down
// state's pattern has them, a plain face none.
int HighlightPixels(HWND button) {
  RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC dc = GetDC(button);
  int count = 0;
  for (int y = 2; y <= 5; ++y)
    for (int x = 2; x <= 7; ++x) count += GetPixel(dc, x, y) == GetSysColor(COLOR_BTNHIGHLIGHT);
  ReleaseDC(button, dc);
  return count;
}

class VoivodeshipWindowTest : public PluginTest {
 protected:
  HWND OpenStatistics() {
    HWND window = Run(Station());
    return window;
  }

  static void Click(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
    host::PumpMessages();
  }
};

TEST_F(VoivodeshipWindowTest, OpensOnceWithTheLettersAndTenDown) {
  HWND statistics = OpenStatistics();
  HWND window = OpenVoivodeshipWindow(statistics);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(WindowText(window), "Voivodeship");
  EXPECT_EQ(GetWindow(window, GW_OWNER), statistics);
  const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(ListTexts(window), (std::vector<std::string>{"B", "C", "D", "F", "G", "J", "K", "L",
                                                         "M", "O", "P", "R", "S", "U", "W", "Z"}));
  const char* captions[] = {"1.8", "3.5", "7", "10", "14", "18", "21", "24", "28"};
  for (int band = 1; band <= 9; ++band)
    EXPECT_EQ(WindowText(Button(window, band)), captions[band - 1]);
  EXPECT_EQ(BandDown(window), kBand10);  // nothing stored yet

  // "Voivodeship" again changes nothing.
  SendMessageW(GetDlgItem(statistics, win32::kVoivodeshipButtonId), BM_CLICK, 0, 0);
  host::PumpMessages();
  EXPECT_EQ(VoivodeshipWindows(), std::vector<HWND>{window});
}

TEST_F(VoivodeshipWindowTest, BandButtonsAreAToggleGroup) {
  HWND window = OpenVoivodeshipWindow(OpenStatistics());
  Click(Button(window, kBand14));
  EXPECT_EQ(BandDown(window), kBand14);
  Click(Button(window, kBand14));  // the button down stays down
  EXPECT_EQ(BandDown(window), kBand14);
  Click(Button(window, 1));
  EXPECT_EQ(BandDown(window), 1);
}

TEST_F(VoivodeshipWindowTest, BandButtonsLightUpUnderThePointer) {
  HWND window = OpenVoivodeshipWindow(OpenStatistics());
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const COLORREF hot = Shade(face, kHotLighten);
  ASSERT_NE(face, hot);
  for (const int band : {kBand14, kBand10}) {
    SCOPED_TRACE(band);
    HWND button = Button(window, band);
    EXPECT_EQ(PixelOf(button, 3, 3), face);
    SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(PixelOf(button, 3, 3), hot);
    EXPECT_EQ(PixelOf(button, 0, 0), GetSysColor(COLOR_HIGHLIGHT));
    SendMessageW(button, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(PixelOf(button, 3, 3), face);
  }
}

// In the designed state "10" is down but drawn plain; once chosen, it and
// every other band's button are drawn with the down state's pattern.
TEST_F(VoivodeshipWindowTest, DesignedTenIsDownButPlainUntilABandIsChosen) {
  HWND window = OpenVoivodeshipWindow(OpenStatistics());
  HWND ten = Button(window, kBand10);
  ASSERT_EQ(BandDown(window), kBand10);
  SetFocus(ten);
  EXPECT_EQ(HighlightPixels(ten), 0);
  EXPECT_EQ(HighlightPixels(Button(window, kBand14)), 0);
  Click(Button(window, kBand14));
  EXPECT_GT(HighlightPixels(Button(window, kBand14)), 0);
  EXPECT_EQ(HighlightPixels(ten), 0);
  Click(ten);
  EXPECT_GT(HighlightPixels(ten), 0);
  EXPECT_EQ(HighlightPixels(Button(window, kBand14)), 0);
}

TEST_F(VoivodeshipWindowTest, ListHasFlatScrollBars) {
  HWND window = OpenVoivodeshipWindow(OpenStatistics());
  HWND list = GetDlgItem(window, win32::kVoivodeshipListId);
  EXPECT_TRUE(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FLATSB);
}

TEST_F(VoivodeshipWindowTest, FollowsTheBandOfEveryRecordedContact) {
  HWND window = OpenVoivodeshipWindow(OpenStatistics());
  struct Step {
    const char* call;
    const char* band;
    int down;
  };
  const Step steps[] = {
      {"SP1A", "21", kBand21},  {"SP2A", "50", kBand21}, {"SP3A", "   ", kBand21},
      {"SP4A", " 14", kBand14}, {"SP5A", "28", 9},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(std::string(step.call) + "/" + step.band);
    plugin->AddQSO(Contact(step.call, step.band, "EU", "SP", "599K").data());
    host::PumpMessages();
    EXPECT_EQ(BandDown(window), step.down);
  }
  // A duplicate, and GetScore, record nothing and switch nothing.
  Click(Button(window, 1));
  EXPECT_EQ(plugin->AddQSO(Contact("SP5A", "28", "EU", "SP", "599K").data()), -1);
  plugin->GetScore(Contact("SP9Z", "7", "EU", "SP", "").data());
  host::PumpMessages();
  EXPECT_EQ(BandDown(window), 1);
}

// A reload selects each row's band in turn: the window ends on the band of
// the last row in the log's call-sign order, not the host's current one.
TEST_F(VoivodeshipWindowTest, ReloadEndsOnTheLastRowsBand) {
  log.Insert({{.callSign = "C1", .band = "7"},
              {.callSign = "A1", .band = "14"},
              {.callSign = "B1", .band = "21"}});
  HWND statistics = OpenStatistics();
  HWND window = OpenVoivodeshipWindow(statistics);
  plugin->GetScore(Contact("Z9", "28", "EU", "DL", "").data());
  SendMessageW(GetDlgItem(statistics, win32::kRecalcButtonId), BM_CLICK, 0, 0);
  host::PumpMessages();
  EXPECT_EQ(BandDown(window), 3);  // "7", from C1
}

TEST_F(VoivodeshipWindowTest, WorkedLettersAreRedOnTheirBand) {
  HWND statistics = OpenStatistics();
  plugin->AddQSO(Contact("SP1A", "14", "EU", "SP", "599K").data());
  plugin->AddQSO(Contact("SP2B", "21", "EU", "SP", "599 b").data());
  HWND window = OpenVoivodeshipWindow(statistics);
  Click(Button(window, kBand14));
  EXPECT_TRUE(DrawnRed(window, 'K'));
  EXPECT_FALSE(DrawnRed(window, 'B'));
  Click(Button(window, kBand21));
  EXPECT_FALSE(DrawnRed(window, 'K'));
  EXPECT_TRUE(DrawnRed(window, 'B'));
}

TEST_F(VoivodeshipWindowTest, ClosingAndReopeningKeepsTheBand) {
  HWND statistics = OpenStatistics();
  HWND window = OpenVoivodeshipWindow(statistics);
  Click(Button(window, kBand21));
  PostMessageW(window, WM_CLOSE, 0, 0);
  host::PumpMessages();
  EXPECT_FALSE(IsWindow(window));
  // The band sync finds no window now, and CurrentBand stays.
  plugin->AddQSO(Contact("SP1A", "14", "EU", "SP", "").data());
  HWND again = OpenVoivodeshipWindow(statistics);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(BandDown(again), kBand21);
}

// A window the operator closed is stored as closed, and the next run does
// not open it by itself.
TEST_F(VoivodeshipWindowTest, AClosedWindowIsStoredClosed) {
  HWND statistics = OpenStatistics();
  HWND window = OpenVoivodeshipWindow(statistics);
  PostMessageW(window, WM_CLOSE, 0, 0);
  host::PumpMessages();
  ASSERT_FALSE(IsWindow(window));
  plugin->Release();
  host::PumpMessages();
  const std::string settings = ReadSettings();
  const std::size_t section = settings.find("[TfmDomList]\r\n");
  ASSERT_NE(section, std::string::npos) << settings;
  const std::string voivodeships =
      settings.substr(section, settings.find("\r\n[", section + 1) - section);
  EXPECT_NE(voivodeships.find("\r\nVisible=0\r\n"), std::string::npos) << settings;
  EXPECT_EQ(voivodeships.find("Visible=1"), std::string::npos) << settings;
}

TEST_F(VoivodeshipWindowTest, ReleaseSavesAndANewRunReopensOnTheStoredBand) {
  WriteSettings("; kept\r\n[Other]\r\nKey=Value\r\n");
  HWND statistics = OpenStatistics();
  HWND window = OpenVoivodeshipWindow(statistics);
  Click(Button(window, kBand14));
  plugin->Release();
  host::PumpMessages();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(IsWindow(statistics));

  const std::string settings = ReadSettings();
  EXPECT_NE(settings.find("[TfmMainForm]\r\nFormVersion=0\r\nFlags="), std::string::npos)
      << settings;
  EXPECT_NE(settings.find("\r\nVisible=1\r\nCurrentBand=5\r\n"), std::string::npos) << settings;
  EXPECT_NE(settings.find("[TfmDomList]\r\nFormVersion=0\r\n"), std::string::npos) << settings;
  EXPECT_EQ(settings.rfind("; kept\r\n[Other]\r\nKey=Value\r\n", 0), 0u) << settings;

  HWND reopened = OpenVoivodeshipWindow(Run(Station()));
  ASSERT_NE(reopened, nullptr);
  EXPECT_EQ(BandDown(reopened), kBand14);
}

// A host may unload the DLL right after _Release, while the system's loader
// lock is held: the settings come out as when it pumps messages first,
// because _Release saved them.
TEST_F(VoivodeshipWindowTest, ReleaseSavesTheSameWhetherTheHostPumpsOrUnloads) {
  std::string saved[2];
  for (const bool unloadAtOnce : {false, true}) {
    SCOPED_TRACE(unloadAtOnce ? "unloaded at once" : "pumped");
    std::filesystem::remove(SettingsPath());
    if (!plugin) plugin = std::make_unique<host::PluginModule>(L"Zeltra.dll");
    HWND window = OpenVoivodeshipWindow(OpenStatistics());
    Click(Button(window, kBand14));
    plugin->Release();
    if (!unloadAtOnce) host::PumpMessages();
    plugin.reset();
    host::PumpMessages();
    saved[unloadAtOnce ? 1 : 0] = ReadSettings();
  }
  EXPECT_EQ(saved[0], saved[1]);
  const std::string& text = saved[1];
  // The voivodeship window, destroyed first with its owner, saves first.
  EXPECT_EQ(text.rfind("[TfmDomList]\r\nFormVersion=0\r\n", 0), 0u) << text;
  EXPECT_NE(text.find("Visible=1\r\n\r\n[TfmMainForm]\r\nFormVersion=0\r\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("\r\nVisible=1\r\nCurrentBand=5\r\n"), std::string::npos) << text;
}

// Unloaded without _Release, the windows go without touching the settings
// file: no file work and no message box under the loader lock.
TEST_F(VoivodeshipWindowTest, UnloadWithoutReleaseSavesNothing) {
  const std::string before = "[Other]\r\nKey=1\r\n";
  WriteSettings(before);
  HWND statistics = OpenStatistics();
  HWND window = OpenVoivodeshipWindow(statistics);
  Click(Button(window, kBand14));
  plugin.reset();
  host::PumpMessages();
  EXPECT_FALSE(IsWindow(statistics));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(ReadSettings(), before);
}

TEST_F(VoivodeshipWindowTest, StoredPlacementMovesAndSizes) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  WriteSettings("[TfmMainForm]\r\nNormPos=100,120,300,300\r\nPixelsPerInch=" + std::to_string(dpi) +
                "\r\n[TfmDomList]\r\nNormPos=200,400,600,600\r\n");
  HWND statistics = OpenStatistics();
  RECT frame{};
  GetWindowRect(statistics, &frame);
  RECT client{};
  GetClientRect(statistics, &client);
  EXPECT_EQ(frame.left, 100);
  EXPECT_EQ(frame.top, 120);
  EXPECT_EQ(client.right, MulDiv(394, dpi, 96));  // moved, not resized

  HWND window = OpenVoivodeshipWindow(statistics);
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.left, 200);
  EXPECT_EQ(frame.top, 400);
  EXPECT_EQ(frame.right, 600);
  EXPECT_EQ(frame.bottom, 600);
  GetClientRect(window, &client);
  RECT ten{};
  GetWindowRect(Button(window, kBand10), &ten);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&ten), 2);
  const int w = client.right / 9;
  EXPECT_EQ(ten.left, 8 * w);
  EXPECT_EQ(ten.right, client.right - 4);
}

// Positions saved at another density of pixels per inch would land
// elsewhere: both windows open at their designed places instead.
TEST_F(VoivodeshipWindowTest, PlacementSavedAtAnotherDensityIsIgnored) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const std::string other = std::to_string(dpi == 96 ? 144 : 96);
  WriteSettings("[TfmMainForm]\r\nNormPos=100,120,300,300\r\nPixelsPerInch=" + other +
                "\r\n[TfmDomList]\r\nNormPos=200,400,600,600\r\nPixelsPerInch=" + other + "\r\n");
  HWND statistics = OpenStatistics();
  RECT frame{};
  GetWindowRect(statistics, &frame);
  EXPECT_EQ(frame.left, 943);
  HWND window = OpenVoivodeshipWindow(statistics);
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.left, 1020);
  EXPECT_EQ(frame.top, 164);
  EXPECT_EQ(frame.right - frame.left, MulDiv(339, dpi, 96));
}

TEST_F(VoivodeshipWindowTest, DamagedSettingsOpenAtTheDesignedPlaces) {
  const std::string damaged[] = {
      std::string("\xff\xfe\x00[TfmMainForm]\x01\n=", 17),
      "[TfmMainForm]\r\nNormPos=1,2\r\nCurrentBand=abc\r\n[TfmMainForm",
      "[TfmMainForm]\r\nCurrentBand=99\r\nNormPos=" + std::string(50000, '7')};
  for (const std::string& text : damaged) {
    SCOPED_TRACE(text.substr(0, 30));
    WriteSettings(text);
    HWND statistics = OpenStatistics();
    RECT frame{};
    GetWindowRect(statistics, &frame);
    EXPECT_TRUE(frame.left == 943 || frame.left == 1) << frame.left;
    HWND window = OpenVoivodeshipWindow(statistics);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(BandDown(window), kBand10);
    plugin->Release();
    host::PumpMessages();
    const std::string saved = ReadSettings();
    EXPECT_EQ(saved.find('\0'), std::string::npos);
    EXPECT_NE(saved.find("[TfmDomList]\r\nFormVersion=0\r\n"), std::string::npos) << saved;
  }
}

// A settings file another program holds open: reading and writing it fail,
// each failure is reported, and the windows open and close all the same.
TEST_F(VoivodeshipWindowTest, LockedSettingsFileIsReportedAndNothingElseFails) {
  WriteSettings("[TfmMainForm]\r\nCurrentBand=5\r\n");
  HANDLE lock = CreateFileW(SettingsPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  HWND statistics = OpenStatistics();
  ASSERT_TRUE(IsWindow(statistics));
  HWND window = OpenVoivodeshipWindow(statistics);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(BandDown(window), kBand10);  // nothing could be read
  plugin->Release();
  host::PumpMessages();
  EXPECT_FALSE(IsWindow(statistics));
  CloseHandle(lock);
  // Two reads and two saves, each reported once.
  expectedMessageBoxes = 4;
  for (const std::string& text : messageBoxes.texts())
    EXPECT_NE(text.find("settings file"), std::string::npos) << text;
  EXPECT_EQ(ReadSettings(), "[TfmMainForm]\r\nCurrentBand=5\r\n");
}

}  // namespace
}  // namespace zeltra::testing
