#pragma once

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <string_view>

#include "core/settings/FormStorage.h"
#include "win32/ui/BoundWindow.h"
#include "win32/ui/GdiHandles.h"

namespace zeltra::win32 {

class TfmMainForm;

// The voivodeship window: the sixteen voivodeship letters, those worked on
// the chosen band red and bold, and nine band buttons to choose the band.
// Owned by the statistics window, which it reads its marks from.
class TfmDomList : public BoundWindow<TfmDomList> {
 public:
  static TfmDomList& Create(TfmMainForm& statistics);

  explicit TfmDomList(TfmMainForm& statistics);

  // Restores the placement, shows the window and selects the stored band.
  void Show();

  // Selects band n (1 to 9): its button down, the list marked for it, and
  // the statistics window's CurrentBand set to n. Any other n changes nothing.
  void SetBand(int band);

  // Between these, SetBand only records the band; the buttons and the list
  // show the last one when the outermost batch ends. A reload with the
  // window open selects each row's band in turn, and showing every one of
  // them would cost far more than the reload itself.
  void BeginBandBatch() { ++batchDepth_; }
  void EndBandBatch();

  // Saves the placement as the window's destruction would (a failure is
  // reported); the destruction then saves nothing.
  void SaveSettings();
  // The DLL is leaving the process: destruction saves nothing.
  void ForgoSavingAtDestruction() { saveAtDestruction_ = false; }

  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  void FormCreate();
  void FormShow();
  void FormClose();
  void FormDestroy();
  void RzBitBtn1Click(int band);
  void Panel2Resize(int width, int height);
  LRESULT LV1CustomDrawItem(NMLVCUSTOMDRAW& draw);
  void ShowBand();

  TfmMainForm& statistics_;
  FormStorage storage_;
  int dpi_;
  ScopedFont font_;
  ScopedFont boldFont_;
  std::array<HWND, 9> bandButtons_{};  // by band number - 1
  HWND list_ = nullptr;
  HWND splitter_ = nullptr;
  std::string_view bandText_;  // empty until a band is selected
  int band_ = 0;               // the band selected, 0 before any
  int batchDepth_ = 0;
  bool saveAtDestruction_ = true;
};

}  // namespace zeltra::win32
