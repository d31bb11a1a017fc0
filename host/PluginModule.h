#pragma once

// Loads Zeltra.dll as a logging program does: LoadLibrary, the six entry
// points looked up by name with GetProcAddress, FreeLibrary at the end.

#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "zeltra_plugin.h"

namespace zeltra::host {

class PluginModule {
 public:
  using GetInfoFn = ZeltraGetInfo;
  using RunFn = ZeltraRun;
  using GetScoreFn = ZeltraGetScore;
  using AddQsoFn = ZeltraAddQSO;
  using GrabNumberFn = ZeltraGrabNumber;
  using ReleaseFn = ZeltraRelease;

  explicit PluginModule(const wchar_t* path) : module_(LoadLibraryW(path)) {
    if (module_ == nullptr) throw std::runtime_error("Cannot load the plug-in DLL");
    GetInfo = Resolve<GetInfoFn>("_GetInfo");
    Run = Resolve<RunFn>("_Run");
    GetScore = Resolve<GetScoreFn>("_GetScore");
    AddQSO = Resolve<AddQsoFn>("_AddQSO");
    GrabNumber = Resolve<GrabNumberFn>("_GrabNumber");
    Release = Resolve<ReleaseFn>("_Release");
  }
  ~PluginModule() { Unload(); }
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  void Unload() {
    if (module_ != nullptr) FreeLibrary(module_);
    module_ = nullptr;
  }

  GetInfoFn GetInfo = nullptr;
  RunFn Run = nullptr;
  GetScoreFn GetScore = nullptr;
  AddQsoFn AddQSO = nullptr;
  GrabNumberFn GrabNumber = nullptr;
  ReleaseFn Release = nullptr;

 private:
  template <class Fn>
  Fn Resolve(const char* name) {
    FARPROC address = GetProcAddress(module_, name);
    if (address == nullptr) throw std::runtime_error(std::string("The plug-in lacks ") + name);
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(address));
  }

  HMODULE module_;
};

// Handles every window message already queued for this thread.
inline void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace zeltra::host
