#include "core/settings/IniFileReader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/SqliteLog.h"

namespace zeltra {
namespace {

TEST(IniFileReader, MissingOversizedAndOrdinaryFiles) {
  testing::TemporaryFolder folder;
  const auto path = folder.path() / "Host.ini";
  EXPECT_EQ(ReadIniFile(path).Get("Mine", "X"), std::nullopt);

  const std::string head = "[Mine]\r\nX=1\r\n";
  std::string text = head + std::string(IniDocument::kMaxTextSize - head.size(), '\n');
  std::ofstream(path, std::ios::binary) << text;
  EXPECT_EQ(ReadIniFile(path).Get("Mine", "X"), "1");
  std::ofstream(path, std::ios::binary | std::ios::app) << ';';
  EXPECT_EQ(ReadIniFile(path).Get("Mine", "X"), std::nullopt);

  // A folder where the file should be cannot be read: a clear error.
  try {
    ReadIniFile(folder.path());
    FAIL() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot read the settings file " + folder.path().string());
  }
}

}  // namespace
}  // namespace zeltra
