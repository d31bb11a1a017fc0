#include <gtest/gtest.h>

#include "win32/support/TestHost.h"

namespace zeltra::testing {
namespace {

// Hosts that unload the DLL before pumping: the windows must go with the
// code that runs them, or the next message would jump into freed memory.
TEST_F(PluginTest, FreeLibraryRightAfterReleaseLeavesNoWindowBehind) {
  HWND window = Run(Station());
  plugin->AddQSO(Contact("W1AW", "14", "NA", "K", "599").data());
  plugin->Release();
  plugin.reset();
  EXPECT_FALSE(IsWindow(window));
  host::PumpMessages();
}

TEST_F(PluginTest, FreeLibraryWithoutReleaseLeavesNoWindowBehind) {
  HWND window = Run(Station());
  plugin.reset();
  EXPECT_FALSE(IsWindow(window));
  host::PumpMessages();

  // The DLL loads and runs again in the same process.
  plugin = std::make_unique<host::PluginModule>(L"Zeltra.dll");
  HWND again = Run(Station());
  EXPECT_TRUE(IsWindow(again));
}

}  // namespace
}  // namespace zeltra::testing
