// The reference host: a small logging program that shows how a host uses
// Zeltra.dll. It keeps its log in a SQLite file through ODBC (creating the
// log table when it is missing), loads Plugins\Zeltra.dll from beside
// itself, hands the plug-in its connection, and offers an entry line for
// contacts; or, with --script, replays a file of contacts and prints what
// the plug-in answers.
//
//   host.exe [--log FILE] [--sample CSV] [--script CSV]
//            [--my-continent EU] [--my-dxcc SP] [--title SP9DEMO]
//            [--hold SECONDS] [--time-recalc N] [--print-table yes]
//
// --sample fills an empty log table from a CSV file first. --script opens
// the voivodeship window, logs each contact of a CSV file as the entry line
// would, printing its answers, and prints the score line. --hold then keeps
// the windows up for screenshots: it prints their rectangles ("VOIVODESHIP
// left top right bottom", "STATISTICS ..."), brings the statistics window
// to the front when a file named "next" appears beside the program
// (printing "RAISED"), and ends when a file named "stop" appears or
// SECONDS pass. --time-recalc presses "Recalc" N times
// with the voivodeship window closed and N times with it open and prints
// the mean time of each. --print-table prints the statistics table after
// the first reload, as "TABLE" lines of comma-separated cells.

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "ContactFile.h"
#include "EntryWindow.h"
#include "HostSession.h"
#include "LogDatabase.h"
#include "PluginModule.h"

using namespace zeltra::host;

namespace {

// Controls of the statistics window.
constexpr int kScoreLineId = 1001;
constexpr int kRecalcButtonId = 1002;
constexpr int kVoivodeshipButtonId = 1003;
constexpr int kGridId = 1000;
// The grid's cell text: wParam MAKEWPARAM(column, row), lParam a 256-char buffer.
constexpr UINT kGridGetCellText = WM_APP + 10;
constexpr int kGridColumns = 6;
constexpr int kGridRows = 8;
constexpr wchar_t kVoivodeshipWindowClass[] = L"ZeltraVoivodeshipWindow";

struct Options {
  std::filesystem::path log;
  std::filesystem::path sample;
  std::filesystem::path script;
  Station station;
  int holdSeconds = 0;
  int recalcTimings = 0;
  bool printTable = false;
};

std::filesystem::path ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path();
}

Options ParseOptions(int argc, char** argv) {
  Options options;
  options.log = ProgramFolder() / "log.db";
  for (int i = 1; i < argc; i += 2) {
    const std::string name = argv[i];
    if (i + 1 >= argc) throw std::runtime_error("option " + name + " needs a value");
    const std::string value = argv[i + 1];
    if (name == "--log")
      options.log = value;
    else if (name == "--sample")
      options.sample = value;
    else if (name == "--script")
      options.script = value;
    else if (name == "--my-continent")
      options.station.continent = value;
    else if (name == "--my-dxcc")
      options.station.dxccPrefix = value;
    else if (name == "--title")
      options.station.titleSuffix = value;
    else if (name == "--hold")
      options.holdSeconds = std::stoi(value);
    else if (name == "--time-recalc")
      options.recalcTimings = std::stoi(value);
    else if (name == "--print-table")
      options.printTable = value == "yes";
    else
      throw std::runtime_error("unknown option " + name);
  }
  return options;
}

// The log table, created when missing and filled from the sample when empty.
void PrepareLog(LogDatabase& log, const std::filesystem::path& sample) {
  try {
    log.Count(kLogTable);
  } catch (const std::exception&) {
    log.CreateLogTable(kLogTable);
  }
  if (!sample.empty() && log.Count(kLogTable) == 0) log.Insert(ReadContactFile(sample), kLogTable);
}

std::string ScoreLine(HWND window) {
  char text[256] = {};
  GetDlgItemTextA(window, kScoreLineId, text, static_cast<int>(sizeof text));
  return text;
}

// The statistics table as the window shows it, one "TABLE" line of
// comma-separated cells per row.
void PrintTable(HWND window) {
  HWND grid = GetDlgItem(window, kGridId);
  for (int row = 0; row < kGridRows; ++row) {
    std::string line = "TABLE ";
    for (int column = 0; column < kGridColumns; ++column) {
      char text[256] = {};
      SendMessageA(grid, kGridGetCellText, MAKEWPARAM(column, row), reinterpret_cast<LPARAM>(text));
      line += (column > 0 ? "," : "") + std::string(text);
    }
    std::printf("%s\n", line.c_str());
  }
}

void Press(HWND window, int id) {
  SendMessageW(GetDlgItem(window, id), BM_CLICK, 0, 0);
  PumpMessages();
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

// Pumps messages until a file of this name appears beside the program;
// false when the time runs out first.
bool WaitForFile(const char* name, std::chrono::steady_clock::time_point end) {
  const auto file = ProgramFolder() / name;
  while (!std::filesystem::exists(file)) {
    if (std::chrono::steady_clock::now() >= end) return false;
    PumpMessages();
    Sleep(50);
  }
  return true;
}

void Hold(HWND window, int seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  PrintRect("VOIVODESHIP", FindWindowW(kVoivodeshipWindowClass, nullptr));
  PrintRect("STATISTICS", window);
  std::fflush(stdout);
  if (!WaitForFile("next", end)) return;
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  PumpMessages();
  std::printf("RAISED\n");
  std::fflush(stdout);
  WaitForFile("stop", end);
}

void ReplayScript(HostSession& session, HWND window, const Options& options) {
  Press(window, kVoivodeshipButtonId);
  for (const LogRow& contact : ReadContactFile(options.script)) {
    const std::string exchange = session.SuggestedExchange(contact);
    const int score = session.Preview(contact);
    const int added = session.Log(contact);
    PumpMessages();
    std::printf("%-10s %-4s prefill %-4s score %-4s added %s\n", contact.callSign.c_str(),
                contact.band.c_str(), exchange.c_str(), ScoreText(score).c_str(),
                ScoreText(added).c_str());
  }
  if (options.recalcTimings > 0) {
    const double open = TimeRecalc(window, options.recalcTimings);
    PostMessageW(FindWindowW(kVoivodeshipWindowClass, nullptr), WM_CLOSE, 0, 0);
    PumpMessages();
    const double closed = TimeRecalc(window, options.recalcTimings);
    std::printf("Recalc: %.2f ms with the voivodeship window closed, %.2f ms with it open\n",
                closed, open);
  }
  std::printf("%s\n", ScoreLine(window).c_str());
  std::fflush(stdout);
  if (options.holdSeconds > 0) Hold(window, options.holdSeconds);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    // A logging program is a GUI program: its common controls are loaded
    // before any plug-in.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    const Options options = ParseOptions(argc, argv);
    LogDatabase log(DriverPathOf(options.log.wstring()));
    PrepareLog(log, options.sample);
    std::printf("Log: %ld contacts in %s\n", log.Count(kLogTable), options.log.string().c_str());

    PluginModule plugin((ProgramFolder() / "Plugins" / "Zeltra.dll").c_str());
    HostSession session(log, plugin, options.station);
    const std::string name = session.PluginName();
    std::printf("Plug-in: %s\n", name.c_str());
    HWND window = session.Run();
    PumpMessages();
    if (options.printTable) PrintTable(window);
    std::printf("After the reload: %s\n", ScoreLine(window).c_str());
    std::fflush(stdout);

    if (!options.script.empty()) {
      ReplayScript(session, window, options);
    } else {
      EntryWindow entry(session, name);
      entry.RunMessageLoop();
    }

    plugin.Release();
    PumpMessages();
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "host: %s\n", error.what());
    return 1;
  }
}
