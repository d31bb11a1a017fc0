#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "win32/support/PostedWork.h"
#include "win32/support/TestHost.h"
#include "win32/ui/StatisticsWindowIds.h"

namespace zeltra::testing {
namespace {

using Cells = std::array<std::string, 5>;

int Scaled(int designed) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return MulDiv(designed, dpi, 96);
}

// The face the window system draws a control's font with.
std::string FaceOf(HFONT font) {
  HDC dc = GetDC(nullptr);
  const HGDIOBJ previous = SelectObject(dc, font);
  char face[LF_FACESIZE] = {};
  GetTextFaceA(dc, LF_FACESIZE, face);
  SelectObject(dc, previous);
  ReleaseDC(nullptr, dc);
  return face;
}

// The statistics window as the operator sees it, read back through the
// window system.
class StatisticsWindowTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    log.Insert({{.callSign = "SP1A", .band = "14", .report = "5K", .dxccPrefix = "SP"},
                {.callSign = "W1AW", .band = "21", .continent = "NA", .dxccPrefix = "K"},
                {.callSign = "DL1X", .band = "3.5"}});
  }
};

TEST_F(StatisticsWindowTest, WindowStylesAndSize) {
  HWND window = Run(Station());
  const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, Scaled(394));
  EXPECT_EQ(client.bottom, Scaled(193));

  HWND grid = GetDlgItem(window, win32::kGridId);
  EXPECT_FALSE(IsWindowEnabled(grid));  // no focus, selection, scrolling or editing
  RECT gridFrame{};
  GetWindowRect(grid, &gridFrame);
  EXPECT_EQ(gridFrame.right - gridFrame.left, Scaled(394));
  EXPECT_EQ(gridFrame.bottom - gridFrame.top, Scaled(149));
  EXPECT_EQ(WindowText(GetDlgItem(window, win32::kRecalcButtonId)), "Recalc");
  EXPECT_EQ(WindowText(GetDlgItem(window, win32::kVoivodeshipButtonId)), "Voivodeship");
  RECT button{};
  GetWindowRect(GetDlgItem(window, win32::kRecalcButtonId), &button);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&button), 2);
  EXPECT_EQ(button.left, Scaled(184));
  EXPECT_EQ(button.top, Scaled(149 + 18));
  EXPECT_EQ(button.right - button.left, Scaled(102));
  EXPECT_EQ(button.bottom - button.top, Scaled(25));
}

// The faces the windows ask for are the ones drawn, as on Windows, and the
// title bars' buttons have the Marlett font they are drawn with.
TEST_F(StatisticsWindowTest, FacesAreTheOnesAskedFor) {
  HWND window = Run(Station());
  const auto fontOf = [&](int id) {
    return reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(window, id), WM_GETFONT, 0, 0));
  };
  EXPECT_EQ(FaceOf(fontOf(win32::kScoreLineId)), "Courier");
  EXPECT_EQ(FaceOf(fontOf(win32::kRecalcButtonId)), "MS Sans Serif");
  LOGFONTA marlett{};
  strcpy(marlett.lfFaceName, "Marlett");
  marlett.lfCharSet = SYMBOL_CHARSET;
  HFONT font = CreateFontIndirectA(&marlett);
  EXPECT_EQ(FaceOf(font), "Marlett");
  DeleteObject(font);
}

// The buttons' face: grey 157 at rest, lighter while the pointer is over it.
TEST_F(StatisticsWindowTest, ButtonsLightUpUnderThePointer) {
  HWND window = Run(Station());
  HWND button = GetDlgItem(window, win32::kRecalcButtonId);
  const auto facePixel = [&] {
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = GetDC(button);
    const COLORREF pixel = GetPixel(dc, 4, 4);  // inside the frame, left of the image
    ReleaseDC(button, dc);
    return pixel;
  };
  EXPECT_EQ(facePixel(), RGB(157, 157, 157));
  SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(facePixel(), RGB(197, 197, 197));
  SendMessageW(button, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(facePixel(), RGB(157, 157, 157));
}

TEST_F(StatisticsWindowTest, GridShowsHeadingsAndTheLog) {
  HWND window = Run(Station());
  const char* columns[] = {"Band", "QSOs", "Points", "Voivodeship", "DXCC", "Continent"};
  for (int column = 0; column < 6; ++column)
    EXPECT_EQ(CellText(window, column, 0), columns[column]);
  const char* rows[] = {"160", "80", "40", "20", "15", "10", "Total"};
  for (int row = 1; row <= 7; ++row) EXPECT_EQ(CellText(window, 0, row), rows[row - 1]);

  EXPECT_EQ(DataRow(window, 1), Cells{});
  EXPECT_EQ(DataRow(window, 2), (Cells{"1", "5", "0", "1", "1"}));
  EXPECT_EQ(DataRow(window, 4), (Cells{"1", "2", "1", "1", "0"}));
  EXPECT_EQ(DataRow(window, 5), (Cells{"1", "10", "0", "1", "1"}));
  EXPECT_EQ(DataRow(window, 7), (Cells{"3", "17", "1", "3", "2"}));
  EXPECT_EQ(ScoreLine(window), "Score: 17*(1+3+2)=102");
  EXPECT_EQ(CellText(window, 6, 0), "<none>");
}

TEST_F(StatisticsWindowTest, ContactOnTenChangesOnlyTheTotal) {
  HWND window = Run(Station());
  std::array<Cells, 7> before;
  for (int row = 1; row <= 6; ++row) before[static_cast<std::size_t>(row)] = DataRow(window, row);
  EXPECT_EQ(plugin->AddQSO(Contact("VK2AB", "10", "OC", "VK", "599").data()), 10);
  for (int row = 1; row <= 6; ++row)
    EXPECT_EQ(DataRow(window, row), before[static_cast<std::size_t>(row)]) << row;
  EXPECT_EQ(DataRow(window, 7), (Cells{"4", "27", "1", "4", "3"}));
  EXPECT_EQ(ScoreLine(window), "Score: 27*(1+4+3)=216");
}

TEST_F(StatisticsWindowTest, DuplicateRewritesTheTableAllTheSame) {
  // A log whose third row fails while it is read: the reload keeps the
  // first two rows and leaves the data cells blank.
  SqliteLog steppedLog("StepAPI=1;");
  steppedLog.CreateLogFailingAt({{.callSign = "A1", .band = "14", .dxccPrefix = "SP"},
                                 {.callSign = "A2", .band = "21"},
                                 {.callSign = "A3", .band = "28"}},
                                "A3");
  expectedMessageBoxes = 1;
  HWND window = Run(On(steppedLog, Station()));
  EXPECT_EQ(DataRow(window, 7), Cells{});
  // A duplicate records nothing and writes the table all the same.
  EXPECT_EQ(plugin->AddQSO(On(steppedLog, Contact("A1", "14", "EU", "SP", "")).data()), -1);
  EXPECT_EQ(DataRow(window, 4), (Cells{"1", "2", "0", "1", "1"}));
  EXPECT_EQ(DataRow(window, 7), (Cells{"2", "7", "0", "2", "1"}));
}

TEST_F(StatisticsWindowTest, RecalcOnAnEmptyLog) {
  HWND window = Run(Station());
  log.Execute("DELETE FROM QSO");
  SendMessageW(GetDlgItem(window, win32::kRecalcButtonId), BM_CLICK, 0, 0);
  host::PumpMessages();
  for (int row = 1; row <= 6; ++row) EXPECT_EQ(DataRow(window, row), Cells{}) << row;
  EXPECT_EQ(DataRow(window, 7), (Cells{"0", "0", "0", "0", "0"}));
  EXPECT_EQ(ScoreLine(window), "Score: 0*(0+0+0)=0");
}

TEST_F(StatisticsWindowTest, CloseCommandMinimizesInsteadOfClosing) {
  struct Way {
    const char* name;
    void (*close)(HWND);
  };
  const Way ways[] = {
      {"close button or system menu",
       [](HWND window) { SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"Alt+F4",
       [](HWND window) {
         constexpr LPARAM kAltDown = 1 << 29;
         SendMessageW(window, WM_SYSKEYDOWN, VK_F4, kAltDown | 1);
       }},
      {"close posted", [](HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
      // The system's own bits in the low four: still the close command.
      {"close with the system's low bits",
       [](HWND window) { SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE | 0x2, 0); }},
  };
  HWND window = Run(Station());
  int added = 0;
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    ShowWindow(window, SW_RESTORE);
    host::PumpMessages();
    ASSERT_FALSE(IsIconic(window));
    way.close(window);
    host::PumpMessages();
    ASSERT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(IsIconic(window));
    const std::string call = "VK" + std::to_string(++added);
    EXPECT_EQ(plugin->AddQSO(Contact(call, "14", "OC", "VK", "").data()), 10);
    EXPECT_EQ(CellText(window, 1, 4), std::to_string(1 + added));
  }
  // Other system commands take their normal course.
  SendMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsIconic(window));
  SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(window));
}

TEST_F(StatisticsWindowTest, CloseRequestEndsTheWindow) {
  HWND window = Run(Station());
  PostMessageW(window, WM_CLOSE, 0, 0);
  host::PumpMessages();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(plugin->AddQSO(Contact("VK2AB", "14", "OC", "VK", "").data()), 0);
  EXPECT_EQ(plugin->GetScore(Contact("VK2AB", "14", "OC", "VK", "").data()), 0);
  // The next _Run opens a fresh window.
  HWND again = Run(Station());
  EXPECT_TRUE(IsWindow(again));
  EXPECT_EQ(ScoreLine(again), "Score: 17*(1+3+2)=102");
}

// Asked before a log-off that is then cancelled: the window stays and works.
TEST_F(StatisticsWindowTest, EndOfSessionQueryKeepsTheWindowWorking) {
  HWND window = Run(Station());
  EXPECT_TRUE(SendMessageW(window, WM_QUERYENDSESSION, 0, 0));
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(plugin->AddQSO(Contact("SP1A", "14", "EU", "SP", "5K").data()), -1);
  EXPECT_EQ(plugin->AddQSO(Contact("VK2AB", "14", "OC", "VK", "").data()), 10);
  log.Insert({{.callSign = "JA1X", .band = "28", .continent = "AS", .dxccPrefix = "JA"}});
  SendMessageW(GetDlgItem(window, win32::kRecalcButtonId), BM_CLICK, 0, 0);
  host::PumpMessages();
  EXPECT_EQ(DataRow(window, 6), (Cells{"1", "10", "0", "1", "1"}));
}

TEST_F(StatisticsWindowTest, FailingFirstShowingLeavesTheDataCellsBlank) {
  expectedMessageBoxes = 1;
  HWND window = Run(On(log, Station(), "Missing"));
  ASSERT_TRUE(IsWindow(window));
  EXPECT_NE(messageBoxes.texts().at(0).find("no such table"), std::string::npos);
  EXPECT_EQ(CellText(window, 0, 7), "Total");
  EXPECT_EQ(DataRow(window, 7), Cells{});
  EXPECT_EQ(ScoreLine(window), "");
}

}  // namespace
}  // namespace zeltra::testing
