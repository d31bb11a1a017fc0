#pragma once

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <string_view>

#include "core/scoring/ContestRules.h"
#include "core/settings/WindowSettings.h"
#include "win32/settings/PendingSave.h"
#include "win32/ui/BoundWindow.h"
#include "win32/ui/GdiHandles.h"
#include "win32/ui/VoivodeshipWindowOwner.h"

namespace zeltra::win32 {

// The voivodeship window: the sixteen voivodeship letters, those worked on
// the band shown red and bold, and nine band buttons to choose the band.
// The statistics window owns it and tells it the band to follow.
class VoivodeshipWindow : public BoundWindow<VoivodeshipWindow> {
 public:
  // ownerWindow: the owner's window, which this one stays in front of.
  static VoivodeshipWindow& Create(VoivodeshipWindowOwner& owner, HWND ownerWindow);

  explicit VoivodeshipWindow(VoivodeshipWindowOwner& owner);

  // Restores the placement, shows the window and selects the stored band.
  void Show();

  // Selects the band: its button down, the list marked for it, and the
  // owner's stored band set to it.
  void SetBand(const Band& band);

  // Saves the placement as the window's destruction would (a failure is
  // reported); the destruction then saves nothing.
  void SaveSettings();
  // Screen readers let go of the list and the band buttons.
  void ForgetAccessibleObjects();
  // The DLL is leaving the process: destruction saves nothing.
  void ForgoSavingAtDestruction() { pendingSave_.Forgo(); }

  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  void OnCreate();
  void OnClose();
  void OnDestroy();
  void OnBandButtonClicked(int band);
  void LayOutControls(int width, int height);
  LRESULT DrawListItem(NMLVCUSTOMDRAW& draw);
  void ShowBand();

  VoivodeshipWindowOwner& owner_;
  WindowSettings storage_;
  PendingSave pendingSave_{storage_};
  int dpi_;
  ScopedFont font_;
  ScopedFont boldFont_;
  std::array<HWND, 9> bandButtons_{};  // by band number - 1
  HWND list_ = nullptr;
  HWND splitter_ = nullptr;
  std::string_view bandText_;  // empty until a band is selected
  int band_ = 0;               // the band selected, 0 before any
};

// Lets go of the voivodeship window's class once the plug-in's code is
// about to leave the process and its windows, owned by the statistics
// windows, are gone with them.
void UnregisterVoivodeshipWindowClass() noexcept;

}  // namespace zeltra::win32
