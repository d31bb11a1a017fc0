#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "core/ui/StatisticsLayout.h"
#include "win32/support/TestHost.h"
#include "win32/ui/StatisticsWindowIds.h"
#include "win32/ui/VoivodeshipWindowIds.h"

namespace zeltra::testing {
namespace {

constexpr long kNoChild = -1;

std::string Text(const RECT& rect) {
  return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " +
         std::to_string(rect.right) + "," + std::to_string(rect.bottom);
}

// An object as a screen reader holds it, released at the end.
class Reader {
 public:
  explicit Reader(HWND window) {
    AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                               reinterpret_cast<void**>(&object_));
  }
  ~Reader() {
    if (object_ != nullptr) object_->Release();
  }
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  bool Found() const { return object_ != nullptr; }

  long ChildCount() const {
    long count = -1;
    object_->get_accChildCount(&count);
    return count;
  }
  std::string Name(long child) const { return Text(&IAccessible::get_accName, child); }
  std::string Description(long child) const {
    return Text(&IAccessible::get_accDescription, child);
  }
  IAccessible* object() const { return object_; }

  // What a text query answers, its text freed.
  HRESULT Result(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), long child) const {
    BSTR text = nullptr;
    const HRESULT result = (object_->*get)(Child(child), &text);
    if (text != nullptr) SysFreeString(text);
    return result;
  }
  RECT Location(long child) const {
    long left = 0, top = 0, width = 0, height = 0;
    if (object_->accLocation(&left, &top, &width, &height, Child(child)) != S_OK) return RECT{};
    return RECT{left, top, left + width, top + height};
  }
  // The child a walk from child in direction reaches; kNoChild at its end.
  long Navigate(long direction, long child) const {
    VARIANT end;
    VariantInit(&end);
    if (object_->accNavigate(direction, Child(child), &end) != S_OK || end.vt != VT_I4)
      return kNoChild;
    return end.lVal;
  }
  // The child at a screen point; kNoChild when the point is not on the object.
  long HitTest(long x, long y) const {
    VARIANT child;
    VariantInit(&child);
    if (object_->accHitTest(x, y, &child) != S_OK || child.vt != VT_I4) return kNoChild;
    return child.lVal;
  }

  long State(long child) const {
    VARIANT state;
    VariantInit(&state);
    object_->get_accState(Child(child), &state);
    return state.vt == VT_I4 ? state.lVal : -1;
  }
  long Role(long child) const {
    VARIANT role;
    VariantInit(&role);
    object_->get_accRole(Child(child), &role);
    return role.vt == VT_I4 ? role.lVal : -1;
  }

 private:
  static VARIANT Child(long child) {
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_I4;
    variant.lVal = child;
    return variant;
  }
  std::string Text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*),
                   long child) const {
    BSTR text = nullptr;
    if ((object_->*get)(Child(child), &text) != S_OK || text == nullptr) return "<none>";
    std::string narrow;
    for (const wchar_t* c = text; *c != 0; ++c) narrow += static_cast<char>(*c);
    SysFreeString(text);
    return narrow;
  }

  IAccessible* object_ = nullptr;
};

// Child number of grid cell (column, row), as the table numbers them.
long CellChild(int column, int row) {
  return row * 6 + column + 1;
}

std::vector<std::pair<DWORD, HWND>> g_events;

void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG, LONG, DWORD, DWORD) {
  g_events.emplace_back(event, window);
}

class AccessibilityTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    CoInitialize(nullptr);
    log.Insert({{.callSign = "SP1A", .band = "14", .report = "5K", .dxccPrefix = "SP"},
                {.callSign = "W1AW", .band = "21", .continent = "NA", .dxccPrefix = "K"}});
  }
  void TearDown() override {
    PluginTest::TearDown();
    CoUninitialize();
  }
};

TEST_F(AccessibilityTest, TheGridReadsAsATableOfCellsWithTheirHeadings) {
  HWND window = Run(Station());
  Reader grid(GetDlgItem(window, win32::kGridId));
  ASSERT_TRUE(grid.Found());
  EXPECT_EQ(grid.ChildCount(), 48);
  EXPECT_EQ(grid.Role(CHILDID_SELF), ROLE_SYSTEM_TABLE);
  EXPECT_EQ(grid.Name(CHILDID_SELF), "Statistics");
  struct Case {
    int column, row;
    const char* name;
    const char* description;
  };
  const Case cases[] = {
      {0, 0, "Band", "column heading"}, {2, 0, "Points", "column heading"},
      {0, 4, "20", "row heading"},      {1, 4, "1", "20 m, QSOs"},
      {2, 4, "2", "20 m, Points"},      {2, 5, "10", "15 m, Points"},
      {1, 1, "empty", "160 m, QSOs"},   {2, 7, "12", "Total, Points"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.column) + "," + std::to_string(c.row));
    EXPECT_EQ(grid.Role(CellChild(c.column, c.row)), ROLE_SYSTEM_CELL);
    EXPECT_EQ(grid.Name(CellChild(c.column, c.row)), c.name);
    EXPECT_EQ(grid.Description(CellChild(c.column, c.row)), c.description);
  }
  // The score line is a standard text control, read as one.
  Reader line(GetDlgItem(window, win32::kScoreLineId));
  ASSERT_TRUE(line.Found());
}

TEST_F(AccessibilityTest, NewValuesAreReadAndAnnounced) {
  HWND window = Run(Station());
  HWND gridWindow = GetDlgItem(window, win32::kGridId);
  g_events.clear();
  HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_NAMECHANGE, nullptr, &RecordEvent,
                      GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  plugin->AddQSO(Contact("JA1XYZ", "28", "AS", "JA", "599").data());
  host::PumpMessages();
  UnhookWinEvent(hook);
  Reader grid(gridWindow);
  EXPECT_EQ(grid.Name(CellChild(1, 6)), "1");
  EXPECT_EQ(grid.Name(CellChild(2, 7)), "22");
  const auto fired = [&](DWORD event, HWND target) {
    for (const auto& [seen, where] : g_events)
      if (seen == event && where == target) return true;
    return false;
  };
  EXPECT_TRUE(fired(EVENT_OBJECT_REORDER, gridWindow));
  EXPECT_TRUE(fired(EVENT_OBJECT_NAMECHANGE, GetDlgItem(window, win32::kScoreLineId)));
}

// A screen reader that holds the grid's object past the window's end gets
// errors, never the freed window's memory.
TEST_F(AccessibilityTest, AnObjectHeldPastTheWindowAnswersErrors) {
  HWND window = Run(Station());
  Reader grid(GetDlgItem(window, win32::kGridId));
  ASSERT_TRUE(grid.Found());
  plugin->Release();
  host::PumpMessages();
  ASSERT_FALSE(IsWindow(window));
  long count = 0;
  EXPECT_EQ(grid.object()->get_accChildCount(&count), E_FAIL);
  EXPECT_EQ(grid.Name(1), "<none>");
}

TEST_F(AccessibilityTest, LettersSayWhetherTheyAreWorkedOnTheBandShown) {
  HWND statistics = Run(Station());
  HWND window = OpenVoivodeshipWindow(statistics);
  ASSERT_NE(window, nullptr);
  HWND listWindow = GetDlgItem(window, win32::kVoivodeshipListId);
  {
    Reader list(listWindow);
    ASSERT_TRUE(list.Found());
    EXPECT_EQ(list.Role(CHILDID_SELF), ROLE_SYSTEM_LIST);
    EXPECT_EQ(list.Description(CHILDID_SELF), "no band chosen");
    EXPECT_EQ(list.ChildCount(), 16);
  }
  plugin->AddQSO(Contact("SP2B", "21", "EU", "SP", "599 B").data());  // the window follows to 21
  host::PumpMessages();
  Reader list(listWindow);
  EXPECT_EQ(list.Description(CHILDID_SELF), "band 21 MHz");
  const auto letterChild = [&](const std::string& letter) {
    for (long child = 1; child <= list.ChildCount(); ++child)
      if (list.Name(child) == letter) return child;
    return 0L;
  };
  EXPECT_EQ(list.Role(letterChild("B")), ROLE_SYSTEM_LISTITEM);
  EXPECT_EQ(list.Description(letterChild("B")), "worked");
  EXPECT_EQ(list.Description(letterChild("K")), "not worked");
  SendMessageW(GetDlgItem(window, win32::kBandButtonIdBase + 5), BM_CLICK, 0, 0);  // 14
  host::PumpMessages();
  EXPECT_EQ(list.Description(CHILDID_SELF), "band 14 MHz");
  EXPECT_EQ(list.Description(letterChild("K")), "worked");
  EXPECT_EQ(list.Description(letterChild("B")), "not worked");

  // The band buttons are standard buttons: the one down reads as checked.
  Reader down(GetDlgItem(window, win32::kBandButtonIdBase + 5));
  Reader up(GetDlgItem(window, win32::kBandButtonIdBase + 7));
  ASSERT_TRUE(down.Found());
  EXPECT_TRUE(down.State(CHILDID_SELF) & (STATE_SYSTEM_CHECKED | STATE_SYSTEM_PRESSED))
      << down.State(CHILDID_SELF);
  EXPECT_FALSE(up.State(CHILDID_SELF) & (STATE_SYSTEM_CHECKED | STATE_SYSTEM_PRESSED))
      << up.State(CHILDID_SELF);
  EXPECT_EQ(down.Name(CHILDID_SELF), "14");
}

// Where a screen reader is told each cell and letter is: the place drawn,
// in screen coordinates, and the one a point there hits, up to the last.
TEST_F(AccessibilityTest, CellsAndLettersAreWhereTheyAreDrawn) {
  HWND statistics = Run(Station());
  HWND gridWindow = GetDlgItem(statistics, win32::kGridId);
  Reader grid(gridWindow);
  ASSERT_TRUE(grid.Found());
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  for (const auto& [column, row] : {std::pair{0, 0}, std::pair{2, 4}, std::pair{5, 7}}) {
    SCOPED_TRACE(std::to_string(column) + "," + std::to_string(row));
    const Rect drawn = statistics_layout::CellRect(static_cast<std::size_t>(column),
                                                   static_cast<std::size_t>(row), dpi);
    POINT origin{drawn.left, drawn.top};
    ClientToScreen(gridWindow, &origin);
    const long child = CellChild(column, row);
    EXPECT_EQ(Text(grid.Location(child)),
              Text(RECT{origin.x, origin.y, origin.x + drawn.Width(), origin.y + drawn.Height()}));
    EXPECT_EQ(grid.HitTest(origin.x + drawn.Width() / 2, origin.y + drawn.Height() / 2), child);
  }
  EXPECT_EQ(grid.ChildCount(), CellChild(5, 7));

  HWND window = OpenVoivodeshipWindow(statistics);
  ASSERT_NE(window, nullptr);
  HWND listWindow = GetDlgItem(window, win32::kVoivodeshipListId);
  Reader list(listWindow);
  ASSERT_TRUE(list.Found());
  for (const long letter : {1L, 16L}) {
    SCOPED_TRACE(letter);
    RECT item{};
    item.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageW(listWindow, LVM_GETITEMRECT, static_cast<WPARAM>(letter - 1),
                             reinterpret_cast<LPARAM>(&item)));
    MapWindowPoints(listWindow, nullptr, reinterpret_cast<POINT*>(&item), 2);
    EXPECT_EQ(Text(list.Location(letter)), Text(item));
    EXPECT_EQ(list.HitTest((item.left + item.right) / 2, (item.top + item.bottom) / 2), letter);
  }
  // Outside every window of ours: no child of the list.
  RECT listArea{};
  GetWindowRect(listWindow, &listArea);
  EXPECT_EQ(list.HitTest(listArea.right + 50, listArea.bottom + 50), kNoChild);
}

// A screen reader walks the table cell by cell, first to last, and is told
// where the walk ends.
TEST_F(AccessibilityTest, TheTableIsWalkedCellByCell) {
  HWND statistics = Run(Station());
  Reader grid(GetDlgItem(statistics, win32::kGridId));
  ASSERT_TRUE(grid.Found());
  struct Step {
    long direction;
    long from;
    long to;  // kNoChild: the walk ends there
  };
  const long last = CellChild(5, 7);
  const Step steps[] = {
      {NAVDIR_FIRSTCHILD, CHILDID_SELF, 1},
      {NAVDIR_LASTCHILD, CHILDID_SELF, last},
      {NAVDIR_NEXT, 1, 2},
      {NAVDIR_NEXT, last - 1, last},
      {NAVDIR_NEXT, last, kNoChild},
      {NAVDIR_PREVIOUS, 2, 1},
      {NAVDIR_PREVIOUS, 1, kNoChild},
      {NAVDIR_FIRSTCHILD, 3, kNoChild},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(std::to_string(step.direction) + " from " + std::to_string(step.from));
    EXPECT_EQ(grid.Navigate(step.direction, step.from), step.to);
  }
}

// Where there is no text, a screen reader is told so (S_FALSE), not given
// an empty one.
TEST_F(AccessibilityTest, NoTextIsSaidAsNone) {
  HWND statistics = Run(Station());
  Reader grid(GetDlgItem(statistics, win32::kGridId));
  ASSERT_TRUE(grid.Found());
  for (const long child : {static_cast<long>(CHILDID_SELF), 1L}) {
    SCOPED_TRACE(child);
    EXPECT_EQ(grid.Result(&IAccessible::get_accHelp, child), S_FALSE);
    EXPECT_EQ(grid.Result(&IAccessible::get_accKeyboardShortcut, child), S_FALSE);
    EXPECT_EQ(grid.Result(&IAccessible::get_accDefaultAction, child), S_FALSE);
  }
  EXPECT_EQ(grid.Result(&IAccessible::get_accDescription, CHILDID_SELF), S_FALSE);
  EXPECT_EQ(grid.Result(&IAccessible::get_accName, 1), S_OK);
}

// The band button that is down reads as pressed and checked, both; a band
// switch says the list's description changed.
TEST_F(AccessibilityTest, ABandSwitchIsReadAndAnnounced) {
  HWND statistics = Run(Station());
  HWND window = OpenVoivodeshipWindow(statistics);
  ASSERT_NE(window, nullptr);
  HWND listWindow = GetDlgItem(window, win32::kVoivodeshipListId);
  g_events.clear();
  HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_DESCRIPTIONCHANGE, nullptr, &RecordEvent,
                      GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  SendMessageW(GetDlgItem(window, win32::kBandButtonIdBase + 5), BM_CLICK, 0, 0);  // 14
  host::PumpMessages();
  UnhookWinEvent(hook);
  bool announced = false;
  for (const auto& [event, where] : g_events)
    announced |= event == EVENT_OBJECT_DESCRIPTIONCHANGE && where == listWindow;
  EXPECT_TRUE(announced);
  Reader down(GetDlgItem(window, win32::kBandButtonIdBase + 5));
  Reader up(GetDlgItem(window, win32::kBandButtonIdBase + 7));
  // Exactly: a button that can take the focus, and pressed and checked while down.
  EXPECT_EQ(down.State(CHILDID_SELF),
            STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_CHECKED | STATE_SYSTEM_PRESSED);
  EXPECT_EQ(up.State(CHILDID_SELF), STATE_SYSTEM_FOCUSABLE);
  EXPECT_EQ(down.Role(CHILDID_SELF), ROLE_SYSTEM_PUSHBUTTON);
}

}  // namespace
}  // namespace zeltra::testing
