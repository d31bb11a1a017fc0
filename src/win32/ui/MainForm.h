#pragma once

#include <windows.h>

#include <memory>

#include "core/host/HostRecords.h"
#include "core/session/ContestSession.h"
#include "core/settings/FormStorage.h"
#include "win32/ui/BoundWindow.h"
#include "win32/ui/GdiHandles.h"

namespace zeltra::win32 {

// The statistics window. It owns all working state of the plug-in: the
// contest session with its lists and sets, the log query and the prefill
// list, which live exactly as long as the window.
class TfmMainForm : public BoundWindow<TfmMainForm> {
 public:
  // Creates the window, hidden, for the host's record already copied into
  // current; its caption takes current's TitleSuffix and its log query is
  // bound to current's Connection.
  static TfmMainForm& Create(TQSOData& current);

  TfmMainForm(TQSOData& current, PrefillList prefill);

  // Shows the window; the first showing rebuilds the statistics from the log
  // before it returns, and reports a failure in the error message box.
  void Show();
  // Saves both windows' settings, as their destruction would, then
  // schedules the window's destruction for after the messages already
  // queued. The destruction itself then saves nothing more: it may come
  // while the host unloads the DLL, when no file may be touched.
  void Release();
  // The DLL is leaving the process: destruction from now on saves nothing
  // and shows nothing, in this window and its voivodeship window.
  void ForgoSavingAtDestruction();

  ContestSession& Session() { return session_; }
  // FormStorage1: the placement and the stored value CurrentBand.
  FormStorage& Storage() { return storage_; }

  // The band sync, run after every recorded contact and before a reload's
  // first row: moves an open voivodeship window to the current contact's band.
  void ShowDXList();

  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  void SetCaption(const TQSOData& current);

  void FormCreate();
  void FormDestroy();
  // A close request: FormCloseQuery, then FormClose.
  void FormCloseQuery();
  void FormClose();
  // The close command (0xF060) minimizes instead of closing.
  void CloseCommand();
  void RecalcClick();
  // "Voivodeship": opens the voivodeship window unless one is open.
  void btnOBL1Click();
  void ScheduleDestruction();
  void DeferredDestroy();
  void PaintPanel();
  void ShowSummary();
  // Runs a recalculation; a destruction asked for meanwhile (at one of its
  // pump points) waits until no recalculation is left on the stack.
  template <class Recalculation>
  void RunRecalculation(Recalculation&& recalculation);

  const TQSOData& current_;
  ContestSession session_;
  FormStorage storage_;
  int dpi_;
  ScopedFont font_;
  ScopedFont scoreLineFont_;
  ScopedBrush panelBrush_;
  HWND scoreLine_ = nullptr;
  HWND grid_ = nullptr;
  bool shown_ = false;
  bool destroyPending_ = false;
  bool saveAtDestruction_ = true;
};

// Destroys every statistics window still alive on this thread: the plug-in's
// code is about to leave the process.
void DestroyStatisticsWindowsOnUnload() noexcept;

}  // namespace zeltra::win32
