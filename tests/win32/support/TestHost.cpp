#include <gtest/gtest.h>

#include "win32/support/TestHost.h"

#include <commctrl.h>
#include <shlobj.h>

#include <fstream>
#include <iterator>

#include "win32/ui/StatisticsWindowIds.h"
#include "win32/ui/VoivodeshipWindowIds.h"

namespace zeltra::testing {

using host::QsoField;

namespace {

// A logging program is a GUI program: the common controls and the shell
// are loaded long before any plug-in.
const bool kHostLibrariesLoaded = [] {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  wchar_t folder[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
  return true;
}();

}  // namespace

std::filesystem::path PluginTest::SettingsPath() {
  wchar_t folder[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
  wchar_t program[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  return std::filesystem::path(folder) / L"Zeltra" /
         (std::filesystem::path(program).stem().wstring() + L".ini");
}

std::string PluginTest::ReadSettings() {
  std::ifstream file(SettingsPath(), std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

void PluginTest::WriteSettings(const std::string& text) {
  std::filesystem::create_directories(SettingsPath().parent_path());
  std::ofstream(SettingsPath(), std::ios::binary) << text;
}

std::filesystem::path PluginTest::PluginsFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path() / L"Plugins";
}

void PluginTest::SetUp() {
  log.CreateLogTable();
  std::filesystem::remove_all(PluginsFolder());
  std::filesystem::remove(SettingsPath());
  plugin = std::make_unique<host::PluginModule>(L"Zeltra.dll");
}

void PluginTest::TearDown() {
  if (plugin) {
    plugin->Release();
    host::PumpMessages();
    plugin.reset();
  }
  std::filesystem::remove_all(PluginsFolder());
  std::filesystem::remove(SettingsPath());
  EXPECT_EQ(messageBoxes.texts().size(), expectedMessageBoxes)
      << (messageBoxes.texts().empty() ? "" : messageBoxes.texts().front());
}

host::QsoRecord PluginTest::On(const SqliteLog& database, host::QsoRecord record,
                               const std::string& table) {
  record.SetConnection(
      static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(database.connection())));
  record.Set(QsoField::TableName, table);
  return record;
}

host::QsoRecord PluginTest::Station(const std::string& titleSuffix) const {
  host::QsoRecord record;
  record.Set(QsoField::TitleSuffix, titleSuffix)
      .Set(QsoField::MyContinent, "EU")
      .Set(QsoField::MyDXCCPrefix, "SP");
  return On(log, record);
}

host::QsoRecord PluginTest::Contact(const std::string& call, const std::string& band,
                                    const std::string& continent, const std::string& dxcc,
                                    const std::string& report, const std::string& mode) const {
  host::QsoRecord record = Station();
  record.Set(QsoField::CallSign, call)
      .Set(QsoField::Band, band)
      .Set(QsoField::Mode, mode)
      .Set(QsoField::Continent, continent)
      .Set(QsoField::DXCCPrefix, dxcc)
      .Set(QsoField::ReportReceived, report);
  return record;
}

HWND PluginTest::Run(const host::QsoRecord& record) {
  HWND window = plugin->Run(0, record.data());
  host::PumpMessages();
  return window;
}

void PluginTest::WritePrefillFile(const std::string& bytes) {
  std::filesystem::create_directories(PluginsFolder());
  std::ofstream(PluginsFolder() / L"Zeltra.txt", std::ios::binary) << bytes;
}

namespace {

BOOL CALLBACK CollectVoivodeshipWindow(HWND hwnd, LPARAM found) {
  wchar_t className[64] = {};
  GetClassNameW(hwnd, className, 64);
  if (std::wstring_view(className) == win32::kVoivodeshipWindowClass)
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(hwnd);
  return TRUE;
}

}  // namespace

std::vector<HWND> VoivodeshipWindows() {
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), &CollectVoivodeshipWindow,
                    reinterpret_cast<LPARAM>(&windows));
  return windows;
}

HWND OpenVoivodeshipWindow(HWND statisticsWindow) {
  SendMessageW(GetDlgItem(statisticsWindow, win32::kVoivodeshipButtonId), BM_CLICK, 0, 0);
  host::PumpMessages();
  const std::vector<HWND> windows = VoivodeshipWindows();
  return windows.size() == 1 ? windows.front() : nullptr;
}

std::string WindowText(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, static_cast<int>(sizeof text));
  return text;
}

std::string ScoreLine(HWND statisticsWindow) {
  return WindowText(GetDlgItem(statisticsWindow, win32::kScoreLineId));
}

}  // namespace zeltra::testing

namespace zeltra::testing {

std::string CellText(HWND statisticsWindow, int column, int row) {
  char text[win32::kGridCellTextCapacity] = {};
  const LRESULT length =
      SendMessageW(GetDlgItem(statisticsWindow, win32::kGridId), win32::kGridGetCellText,
                   MAKEWPARAM(column, row), reinterpret_cast<LPARAM>(text));
  return length < 0 ? "<none>" : std::string(text, static_cast<std::size_t>(length));
}

std::array<std::string, 5> DataRow(HWND statisticsWindow, int row) {
  std::array<std::string, 5> cells;
  for (int column = 1; column <= 5; ++column)
    cells[static_cast<std::size_t>(column - 1)] = CellText(statisticsWindow, column, row);
  return cells;
}

}  // namespace zeltra::testing
