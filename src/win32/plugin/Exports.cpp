// The six functions the host calls. Each copies the host's record into the
// current-contact record before anything reads it, never writes the host's
// record, and lets no C++ exception reach the host.

#include <windows.h>

#include <cstdint>
#include <cstring>

#include "core/host/HostRecords.h"
#include "win32/plugin/PluginState.h"
#include "win32/ui/ErrorBox.h"
#include "win32/ui/MainForm.h"

using zeltra::TQSOData;
using zeltra::win32::g_currentContact;
using zeltra::win32::g_statisticsWindow;
using zeltra::win32::TfmMainForm;

namespace {

// The answer of _GetScore and _AddQSO when there is no statistics window, or
// when scoring failed.
constexpr std::int32_t kNoWindowResult = 0;

void CopyHostRecord(const TQSOData* data) {
  if (data != nullptr) std::memcpy(&g_currentContact, data, sizeof(TQSOData));
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
      g_statisticsWindow = &TfmMainForm::Create(g_currentContact);
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
  try {
    CopyHostRecord(data);
    if (g_statisticsWindow == nullptr) return kNoWindowResult;
    return g_statisticsWindow->Session().GetScore();
  } catch (...) {
    return kNoWindowResult;
  }
}

std::int32_t __stdcall _AddQSO(const TQSOData* data) {
  try {
    CopyHostRecord(data);
    if (g_statisticsWindow == nullptr) return kNoWindowResult;
    return g_statisticsWindow->Session().AddQSO();
  } catch (...) {
    return kNoWindowResult;
  }
}

void __stdcall _GrabNumber(const TQSOData* data, unsigned char* answer) {
  if (answer == nullptr) return;
  auto& shortAnswer = *reinterpret_cast<zeltra::ShortString*>(answer);
  try {
    CopyHostRecord(data);
    shortAnswer.assign(g_statisticsWindow != nullptr ? g_statisticsWindow->Session().GrabNumber()
                                                     : std::string());
  } catch (...) {
    shortAnswer.assign({});
  }
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
    g_statisticsWindow = nullptr;
  }
  return TRUE;
}

}  // extern "C"
