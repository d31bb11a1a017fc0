#include "win32/settings/FileReplacement.h"

#include <gtest/gtest.h>

#include <string>

#include "support/FileText.h"
#include "support/SqliteLog.h"

namespace zeltra::testing {
namespace {

// Whatever goes wrong while the new text is written, the old file stays
// whole and nothing is left beside it.
TEST(FileReplacement, FailedWriteLeavesTheOldFileWhole) {
  TemporaryFolder folder;
  const auto path = folder.path() / "Host.ini";
  const std::string old = "[TfmMainForm]\r\nCurrentBand=5\r\n";
  const std::string text = "[TfmMainForm]\r\nCurrentBand=7\r\nNormPos=1,2,3,4\r\n";
  struct Case {
    const char* name;
    win32::FileWriter write;
  };
  const Case cases[] = {
      {"short write",
       [](HANDLE file, std::string_view bytes) {
         return win32::WriteWithWriteFile(file, bytes.substr(0, bytes.size() / 2));
       }},
      {"nothing written", [](HANDLE, std::string_view) { return DWORD{0}; }},
      {"failing write",
       [](HANDLE, std::string_view) {
         SetLastError(ERROR_WRITE_FAULT);
         return DWORD{0};
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::ofstream(path, std::ios::binary) << old;
    try {
      win32::ReplaceFileContents(path, text, c.write);
      ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& error) {
      EXPECT_NE(std::string(error.what()).find("Host.ini"), std::string::npos) << error.what();
    }
    EXPECT_EQ(FileText(path), old);
    EXPECT_FALSE(std::filesystem::exists(path.wstring() + L".tmp"));
  }
  win32::ReplaceFileContents(path, text);
  EXPECT_EQ(FileText(path), text);
  EXPECT_FALSE(std::filesystem::exists(path.wstring() + L".tmp"));
}

}  // namespace
}  // namespace zeltra::testing
