// A small console host. It keeps a log in a SQLite file through ODBC (the
// table is created and filled from a sample file when missing), loads
// Plugins\Zeltra.dll beside itself, hands it the connection, logs a handful
// of contacts the way a logging program does and prints what the plug-in
// answers and the score line, then releases and unloads it.
//
//   DemoHost.exe [--log FILE] [--sample CSV] [--hold SECONDS] [--time-recalc N]
//
// After the contacts it opens the voivodeship window. --hold then keeps the
// windows up, printing their rectangles ("STATISTICS left top right bottom",
// "VOIVODESHIP ..."), until SECONDS pass or a file named "stop" appears
// beside the program. --time-recalc presses "Recalc" N times with the
// voivodeship window closed and N times with it open, and prints the mean
// time of each.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "LogDatabase.h"
#include "PluginModule.h"
#include "QsoRecord.h"

using zeltra::host::LogDatabase;
using zeltra::host::LogRow;
using zeltra::host::PluginModule;
using zeltra::host::QsoField;
using zeltra::host::QsoRecord;

namespace {

// Controls of the statistics window.
constexpr int kScoreLineId = 1001;
constexpr int kRecalcButtonId = 1002;
constexpr int kVoivodeshipButtonId = 1003;
constexpr wchar_t kVoivodeshipWindowClass[] = L"ZeltraVoivodeshipWindow";
constexpr char kTable[] = "QSO";

struct Options {
  std::filesystem::path log;
  std::filesystem::path sample;
  int holdSeconds = 0;
  int recalcTimings = 0;
};

std::filesystem::path ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path();
}

Options ParseOptions(int argc, char** argv) {
  Options options{ProgramFolder() / "demo-log.db", ProgramFolder() / "contest-log.csv", 0, 0};
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    if (name == "--log")
      options.log = argv[i + 1];
    else if (name == "--sample")
      options.sample = argv[i + 1];
    else if (name == "--hold")
      options.holdSeconds = std::stoi(argv[i + 1]);
    else if (name == "--time-recalc")
      options.recalcTimings = std::stoi(argv[i + 1]);
    else
      throw std::runtime_error("unknown option " + name);
  }
  return options;
}

// The sample log: a CSV file with a heading line and the seven columns.
std::vector<LogRow> ReadSample(const std::filesystem::path& path) {
  std::ifstream file(path);
  if (!file) throw std::runtime_error("cannot read " + path.string());
  std::vector<LogRow> rows;
  std::string line;
  std::getline(file, line);
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> fields;
    std::stringstream stream(line);
    for (std::string field; std::getline(stream, field, ',');) fields.push_back(field);
    fields.resize(7);
    rows.push_back({fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6]});
  }
  return rows;
}

void PrepareLog(LogDatabase& log, const std::filesystem::path& sample) {
  try {
    log.Count(kTable);
  } catch (const std::exception&) {
    log.CreateLogTable(kTable);
  }
  if (log.Count(kTable) == 0 && std::filesystem::exists(sample)) log.Insert(ReadSample(sample));
}

QsoRecord OwnStation(SQLHDBC connection) {
  QsoRecord record;
  record.SetConnection(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(connection)))
      .Set(QsoField::TableName, kTable)
      .Set(QsoField::TitleSuffix, "SP9DEMO")
      .Set(QsoField::MyContinent, "EU")
      .Set(QsoField::MyDXCCPrefix, "SP")
      .Set(QsoField::Mode, "RTTY");
  return record;
}

const LogRow kNewContacts[] = {
    {"SP9ABC", "14", "RTTY", "EU", "599K", "SP", "SP"},
    {"DL1AAA", "21", "RTTY", "EU", "599 001", "DL", "DL"},
    {"W1AW", "14", "RTTY", "NA", "599 002", "K", "K"},
    {"SP9ABC", "14", "RTTY", "EU", "599K", "SP", "SP"},
    {"JA1XYZ", "28", "RTTY", "AS", "599 003", "JA", "JA"},
    {"VK2AB", "10", "RTTY", "OC", "599 004", "VK", "VK"},
};

std::string ScoreLine(HWND window) {
  char text[256] = {};
  GetDlgItemTextA(window, kScoreLineId, text, static_cast<int>(sizeof text));
  return text;
}

void Press(HWND window, int id) {
  SendMessageW(GetDlgItem(window, id), BM_CLICK, 0, 0);
  zeltra::host::PumpMessages();
}

HWND VoivodeshipWindow() {
  return FindWindowW(kVoivodeshipWindowClass, nullptr);
}

// Mean milliseconds of one "Recalc" over count presses.
double TimeRecalc(HWND window, int count) {
  LARGE_INTEGER frequency{};
  LARGE_INTEGER start{};
  LARGE_INTEGER end{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < count; ++i) Press(window, kRecalcButtonId);
  QueryPerformanceCounter(&end);
  return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart) / count;
}

void PrintRect(const char* name, HWND window) {
  RECT frame{};
  GetWindowRect(window, &frame);
  std::printf("%s %ld %ld %ld %ld\n", name, frame.left, frame.top, frame.right, frame.bottom);
}

void Hold(HWND window, int seconds) {
  PrintRect("VOIVODESHIP", VoivodeshipWindow());
  PrintRect("STATISTICS", window);
  std::fflush(stdout);
  const auto stopFile = ProgramFolder() / "stop";
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < end && !std::filesystem::exists(stopFile)) {
    zeltra::host::PumpMessages();
    Sleep(50);
  }
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const Options options = ParseOptions(argc, argv);
    LogDatabase log(zeltra::host::DriverPathOf(options.log.wstring()));
    PrepareLog(log, options.sample);
    std::printf("Log: %ld contacts in %s\n", log.Count(kTable), options.log.string().c_str());

    PluginModule plugin((ProgramFolder() / "Plugins" / "Zeltra.dll").c_str());
    unsigned char info[zeltra::host::kPluginInfoSize] = {};
    plugin.GetInfo(info);
    std::printf("Plug-in: %s\n", zeltra::host::ReadShortString(info).c_str());

    QsoRecord record = OwnStation(log.connection());
    HWND window = plugin.Run(0, record.data());
    zeltra::host::PumpMessages();
    std::printf("After the reload: %s\n", ScoreLine(window).c_str());

    for (const LogRow& contact : kNewContacts) {
      record.Set(QsoField::CallSign, contact.callSign)
          .Set(QsoField::Band, contact.band)
          .Set(QsoField::Continent, contact.continent)
          .Set(QsoField::DXCCPrefix, contact.dxccPrefix)
          .Set(QsoField::ReportReceived, contact.report);
      unsigned char exchange[zeltra::host::kShortStringSize] = {};
      plugin.GrabNumber(record.data(), exchange);
      const int preview = plugin.GetScore(record.data());
      if (preview > 0) log.Insert({contact});
      const int recorded = plugin.AddQSO(record.data());
      zeltra::host::PumpMessages();
      std::printf("%-8s %-4s prefill %-3s score %3d added %3d\n", contact.callSign.c_str(),
                  contact.band.c_str(), zeltra::host::ReadShortString(exchange).c_str(), preview,
                  recorded);
    }
    std::printf("%s\n", ScoreLine(window).c_str());
    std::fflush(stdout);

    if (options.recalcTimings > 0) {
      const double closed = TimeRecalc(window, options.recalcTimings);
      Press(window, kVoivodeshipButtonId);
      const double open = TimeRecalc(window, options.recalcTimings);
      std::printf(
          "Recalc of %ld contacts: %.2f ms with the voivodeship window closed, "
          "%.2f ms with it open\n",
          log.Count(kTable), closed, open);
    }
    Press(window, kVoivodeshipButtonId);
    if (options.holdSeconds > 0) Hold(window, options.holdSeconds);

    plugin.Release();
    zeltra::host::PumpMessages();
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "demo host: %s\n", error.what());
    return 1;
  }
}
