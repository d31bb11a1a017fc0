#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "PluginModule.h"
#include "QsoRecord.h"

namespace zeltra::testing {

// Loads a fresh Zeltra.dll for each test, as a logging program loads it from
// beside itself, and unloads it afterwards the way a careful host does:
// _Release, pump, FreeLibrary.
class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The operator's own station and the log table, as the host fills them.
  static host::QsoRecord Station(const std::string& titleSuffix = "TEST");
  static host::QsoRecord Contact(const std::string& call, const std::string& band,
                                 const std::string& continent, const std::string& dxcc,
                                 const std::string& report, const std::string& mode = "RTTY");

  HWND Run(const host::QsoRecord& record);

  // The prefill file beside the test program; removed again after the test.
  static void WritePrefillFile(const std::string& bytes);
  static std::filesystem::path PluginsFolder();

  std::unique_ptr<host::PluginModule> plugin;
};

std::string WindowText(HWND window);
std::string ScoreLine(HWND statisticsWindow);

}  // namespace zeltra::testing
