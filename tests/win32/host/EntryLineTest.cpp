#include <gtest/gtest.h>

#include "EntryWindow.h"
#include "HostSession.h"
#include "win32/support/TestHost.h"

namespace zeltra::testing {
namespace {

using host::EntryWindow;

// The reference host's entry line as an operator uses it: typing a call
// sign shows the score and suggests the report; Enter logs the contact.
class EntryLineTest : public PluginTest {
 protected:
  static std::string Text(HWND window, int id) {
    char text[256] = {};
    GetDlgItemTextA(window, id, text, static_cast<int>(sizeof text));
    return text;
  }

  static void Type(HWND window, int id, const char* text) {
    SetDlgItemTextA(window, id, text);  // sends EN_CHANGE, as typing does
    host::PumpMessages();
  }

  static void PressEnter(HWND window) {
    SendMessageW(window, WM_COMMAND, IDOK, 0);
    host::PumpMessages();
  }
};

TEST_F(EntryLineTest, TypingPreviewsAndEnterLogs) {
  WritePrefillFile("SP9ABC=K\r\n");
  host::HostSession session(log, *plugin, host::Station{});
  HWND statistics = session.Run();
  host::PumpMessages();
  EntryWindow entry(session, session.PluginName());
  HWND window = entry.Handle();
  EXPECT_EQ(Text(window, host::kPluginLabel), "Plug-in: Zeltra RTTY Contest");

  Type(window, host::kContinent, "EU");
  Type(window, host::kDxcc, "SP");
  Type(window, host::kCallSign, "SP9ABC");
  EXPECT_EQ(Text(window, host::kAnswer), "Score: 2");
  EXPECT_EQ(Text(window, host::kReport), "K");  // from the prefill file
  EXPECT_EQ(Text(window, host::kBand), "14");

  PressEnter(window);
  EXPECT_EQ(Text(window, host::kAnswer), "SP9ABC logged: 2");
  EXPECT_EQ(Text(window, host::kCallSign), "");
  EXPECT_EQ(log.Count("QSO"), 1);
  EXPECT_EQ(ScoreLine(statistics), "Score: 2*(1+1+1)=6");

  Type(window, host::kCallSign, "SP9ABC");
  EXPECT_EQ(Text(window, host::kAnswer), "Score: DUPE");
  PressEnter(window);
  EXPECT_EQ(Text(window, host::kAnswer), "SP9ABC logged: DUPE");
  EXPECT_EQ(log.Count("QSO"), 2);  // the log keeps the duplicate; the score does not
  EXPECT_EQ(ScoreLine(statistics), "Score: 2*(1+1+1)=6");
}

}  // namespace
}  // namespace zeltra::testing
