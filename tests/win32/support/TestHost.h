#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "PluginModule.h"
#include "QsoRecord.h"
#include "support/SqliteLog.h"
#include "win32/support/MessageBoxWatcher.h"

namespace zeltra::testing {

// Loads a fresh Zeltra.dll for each test, as a logging program loads it from
// beside itself, and unloads it afterwards the way a careful host does:
// _Release, pump, FreeLibrary. Each test has a SQLite log, opened through
// ODBC, with an empty table QSO; the records it builds carry that
// connection. Message boxes are dismissed and their texts kept.
class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The operator's own station, the log's connection and table, as the host
  // fills them.
  host::QsoRecord Station(const std::string& titleSuffix = "TEST") const;
  host::QsoRecord Contact(const std::string& call, const std::string& band,
                          const std::string& continent, const std::string& dxcc,
                          const std::string& report, const std::string& mode = "RTTY") const;
  // record, moved to another log or table.
  static host::QsoRecord On(const SqliteLog& database, host::QsoRecord record,
                            const std::string& table = "QSO");

  HWND Run(const host::QsoRecord& record);

  // The prefill file beside the test program; removed again after the test.
  static void WritePrefillFile(const std::string& bytes);
  static std::filesystem::path PluginsFolder();
  // The plug-in's settings file for this host program.
  static std::filesystem::path SettingsPath();
  static std::string ReadSettings();
  static void WriteSettings(const std::string& text);

  SqliteLog log;
  MessageBoxWatcher messageBoxes;
  std::size_t expectedMessageBoxes = 0;  // checked when the test ends
  std::unique_ptr<host::PluginModule> plugin;
};

// The voivodeship windows on this thread.
std::vector<HWND> VoivodeshipWindows();
// Clicks "Voivodeship" in the statistics window: the one voivodeship window
// then open, or null when there is none or more than one.
HWND OpenVoivodeshipWindow(HWND statisticsWindow);

std::string WindowText(HWND window);
std::string ScoreLine(HWND statisticsWindow);
// The text of one cell of the statistics grid, read as any program can.
std::string CellText(HWND statisticsWindow, int column, int row);
// Columns 1 to 5 of one row of the grid.
std::array<std::string, 5> DataRow(HWND statisticsWindow, int row);

}  // namespace zeltra::testing
