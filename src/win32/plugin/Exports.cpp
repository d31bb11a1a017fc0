// The six functions the host calls. Each copies the host's record before
// anything reads it, never writes the host's record, and lets no C++
// exception reach the host.

#include <windows.h>

#include <cstdint>
#include <cstring>

#include "core/records/HostRecords.h"
#include "core/session/HostContact.h"
#include "win32/platform/ErrorBox.h"
#include "win32/plugin/PluginState.h"
#include "win32/ui/StatisticsWindow.h"
#include "win32/ui/VoivodeshipWindow.h"

using zeltra::TQSOData;
using zeltra::win32::g_lastRecord;
using zeltra::win32::g_statisticsWindow;
using zeltra::win32::StatisticsWindow;

namespace {

// The answer of _GetScore and _AddQSO when there is no statistics window, or
// when scoring failed.
constexpr std::int32_t kNoWindowResult = 0;

void CopyHostRecord(const TQSOData* data) {
  if (data != nullptr) std::memcpy(&g_lastRecord, data, sizeof(TQSOData));
}

// An entry point's work on the host's record: the record copied first;
// fallback when there is no statistics window or anything fails.
template <class Result, class Work>
Result OnHostRecord(const TQSOData* data, Result fallback, Work&& work) {
  try {
    CopyHostRecord(data);
    if (g_statisticsWindow == nullptr) return fallback;
    return work(*g_statisticsWindow);
  } catch (...) {
    return fallback;
  }
}

zeltra::win32::HostLinks LinksToTheEntryPoints() {
  return {.logSource = [] { return zeltra::LogSourceOf(g_lastRecord); },
          .forget =
              [](const StatisticsWindow& window) {
                if (g_statisticsWindow == &window) g_statisticsWindow = nullptr;
              }};
}

}  // namespace

extern "C" {

void __stdcall _GetInfo(unsigned char* info) {
  if (info != nullptr) zeltra::DescribePlugin(info);
}

HWND __stdcall _Run(std::int32_t /*reserved*/, const TQSOData* data) {
  try {
    if (g_statisticsWindow == nullptr) {
      CopyHostRecord(data);
      g_statisticsWindow = &StatisticsWindow::Create(g_lastRecord, LinksToTheEntryPoints());
    }
    g_statisticsWindow->Show();
  } catch (const std::exception& error) {
    zeltra::win32::ShowErrorBox(nullptr, error.what());
  } catch (...) {
    zeltra::win32::ShowErrorBox(nullptr, "Unexpected error");
  }
  return g_statisticsWindow != nullptr ? g_statisticsWindow->Handle() : nullptr;
}

std::int32_t __stdcall _GetScore(const TQSOData* data) {
  return OnHostRecord(data, kNoWindowResult, [](StatisticsWindow& window) {
    return window.Session().GetScore(zeltra::ContactOf(g_lastRecord),
                                     zeltra::OwnStationOf(g_lastRecord));
  });
}

std::int32_t __stdcall _AddQSO(const TQSOData* data) {
  return OnHostRecord(data, kNoWindowResult, [](StatisticsWindow& window) {
    return window.Session().AddQSO(zeltra::ContactOf(g_lastRecord),
                                   zeltra::OwnStationOf(g_lastRecord));
  });
}

void __stdcall _GrabNumber(const TQSOData* data, unsigned char* answer) {
  if (answer == nullptr) return;
  reinterpret_cast<zeltra::ShortString*>(answer)->assign(
      OnHostRecord(data, std::string(), [](StatisticsWindow& window) {
        return window.Session().GrabNumber(g_lastRecord.CallSign.view());
      }));
}

void __stdcall _Release(void) {
  try {
    if (g_statisticsWindow != nullptr) g_statisticsWindow->Release();
  } catch (...) {
    // A failure while releasing is of no use to the host.
  }
  g_statisticsWindow = nullptr;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  // reserved is null when the host unloads the DLL with FreeLibrary while
  // the process goes on: no window of ours may outlive our code.
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    zeltra::win32::DestroyStatisticsWindowsOnUnload();
    zeltra::win32::UnregisterVoivodeshipWindowClass();
    g_statisticsWindow = nullptr;
  }
  return TRUE;
}

}  // extern "C"
