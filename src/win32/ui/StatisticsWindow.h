#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string_view>

#include "core/records/HostRecords.h"
#include "core/session/ContestSession.h"
#include "core/settings/WindowSettings.h"
#include "win32/settings/PendingSave.h"
#include "win32/ui/BoundWindow.h"
#include "win32/ui/GdiHandles.h"
#include "win32/ui/VoivodeshipWindowOwner.h"

namespace zeltra::win32 {

class StatisticsWindow;
class VoivodeshipWindow;

// What the statistics window asks of the entry points that made it.
struct HostLinks {
  // What the last record the host passed says, for a recalculation.
  std::function<LogSource()> logSource;
  // The window is closing or gone: the entry points forget it at once.
  std::function<void(const StatisticsWindow&)> forget;
};

// The statistics window. It owns all working state of the plug-in (the
// contest session with its lists and sets, the log query and the prefill
// list) and the voivodeship window it opens; they live exactly as long as
// the window. See "How a recalculation stays safe" in the README for what
// may run inside a recalculation and how destruction waits for it.
class StatisticsWindow : public BoundWindow<StatisticsWindow>, private VoivodeshipWindowOwner {
 public:
  // Creates the window, hidden, for the host's first record: its caption
  // takes the record's TitleSuffix and its log query the record's
  // Connection.
  static StatisticsWindow& Create(const TQSOData& first, HostLinks host);

  StatisticsWindow(const TQSOData& first, PrefillList prefill, HostLinks host);

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

  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  // What the voivodeship window may ask.
  LetterState StateOfLetter(std::string_view band, char letter) const override;
  std::optional<int> StoredBand() const override;
  void StoreBand(int band) override;
  void VoivodeshipWindowGone(const VoivodeshipWindow& window) override;

  void SetCaption(const TQSOData& first);
  void OnCreate();
  void OnDestroy();
  // A close request: the log query closed, the settings saved, the window released.
  void OnCloseRequest();
  // The close command (0xF060) minimizes instead of closing.
  void OnCloseCommand();
  void OnRecalcClicked();
  // "Voivodeship": opens the voivodeship window unless one is open.
  void OpenVoivodeshipWindow();
  void OnPaint();
  void ShowSummary();
  // The session's band event: an open voivodeship window follows it.
  void FollowBand(const Band& band);
  void ScheduleDestruction();
  void OnDeferredDestroy();
  // Runs a recalculation; a destruction asked for meanwhile (at one of its
  // pump points) waits until no recalculation is left on the stack.
  template <class Recalculation>
  void RunRecalculation(Recalculation&& recalculation);

  std::function<void(const StatisticsWindow&)> forget_;
  ContestSession session_;
  WindowSettings storage_;
  PendingSave pendingSave_{storage_};
  int dpi_;
  ScopedFont font_;
  ScopedFont scoreLineFont_;
  ScopedBrush panelBrush_;
  HWND scoreLine_ = nullptr;
  HWND grid_ = nullptr;
  VoivodeshipWindow* voivodeshipWindow_ = nullptr;  // the open one, owned by its window
  bool shown_ = false;
  bool destroyPending_ = false;
};

// Destroys every statistics window still alive on this thread: the plug-in's
// code is about to leave the process.
void DestroyStatisticsWindowsOnUnload() noexcept;

}  // namespace zeltra::win32
