#include "win32/ui/MainForm.h"

#include <filesystem>
#include <string>
#include <vector>

#include "core/ui/ButtonImages.h"
#include "core/ui/StatisticsLayout.h"
#include "core/ui/Voivodeships.h"
#include "odbc/OdbcLogQuery.h"
#include "win32/plugin/HostProgram.h"
#include "win32/plugin/PluginState.h"
#include "win32/settings/SettingsFile.h"
#include "win32/ui/Controls.h"
#include "win32/ui/ImageButton.h"
#include "win32/ui/MessagePump.h"
#include "win32/ui/StatisticsGrid.h"
#include "win32/ui/StatisticsWindowIds.h"
#include "win32/ui/VoivodeshipWindow.h"
#include "win32/ui/VoivodeshipWindowIds.h"

namespace zeltra::win32 {
namespace {

namespace layout = statistics_layout;

constexpr char kDesignedCaption[] = "Zeltra RTTY Contest";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOPMOST;
// The close command exactly: the close button, the system menu's Close, Alt+F4.
constexpr WPARAM kCloseCommand = 0xF060;

// The prefill list beside the host program. A file that cannot be read is
// reported and leaves the list empty: the window opens all the same.
PrefillList LoadPrefillList() {
  try {
    return PrefillList::FromFile(HostProgramPath().parent_path() / L"Plugins" / L"Zeltra.txt");
  } catch (const std::exception& error) {
    ShowErrorBox(nullptr, error.what());
    return PrefillList{};
  }
}

RECT DesignedFrame(int dpi) {
  RECT frame{0, 0, ScaleToDpi(layout::kClientWidth, dpi), ScaleToDpi(layout::kClientHeight, dpi)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  OffsetRect(&frame, layout::kDesignedLeft - frame.left, layout::kDesignedTop - frame.top);
  return frame;
}

// The host's connection handle as the record carries it: 4 bytes, the
// SQLHDBC of a 32-bit process.
SQLHDBC HostConnection(const TQSOData& current) {
  return reinterpret_cast<SQLHDBC>(static_cast<std::uintptr_t>(current.Connection));
}

RECT Scaled(const Rect& designed, int dpi) {
  return ToRect(ScaleToDpi(designed, dpi));
}

}  // namespace

TfmMainForm::TfmMainForm(TQSOData& current, PrefillList prefill)
    : current_(current),
      session_(current, std::move(prefill), std::make_unique<OdbcLogQuery>(HostConnection(current)),
               SessionHooks{.showDXList = [this] { ShowDXList(); },
                            .pumpMessages = [this] { PumpPendingMessages(Handle()); },
                            .summaryChanged = [this] { ShowSummary(); }}),
      storage_("TfmMainForm", false, true, true),
      dpi_(ScreenDpi()),
      font_(MakeFont(L"MS Sans Serif", layout::kFontHeight, FW_NORMAL, DEFAULT_PITCH, dpi_)),
      scoreLineFont_(MakeFont(L"Courier", layout::kScoreLineFontHeight, FW_BOLD,
                              FIXED_PITCH | FF_MODERN, dpi_)),
      panelBrush_(CreateSolidBrush(layout::kPanelColour)) {}

TfmMainForm& TfmMainForm::Create(TQSOData& current) {
  RegisterWindowClass(kStatisticsWindowClass, GetSysColorBrush(COLOR_BTNFACE));
  auto self = std::make_unique<TfmMainForm>(current, LoadPrefillList());
  const RECT frame = DesignedFrame(self->dpi_);
  TfmMainForm& form =
      CreateOwned(std::move(self), kExStyle, kStatisticsWindowClass, kStyle, frame, nullptr);
  form.SetCaption(current);
  return form;
}

void TfmMainForm::SetCaption(const TQSOData& current) {
  const std::string caption = std::string(kDesignedCaption) + " in " + current.TitleSuffix.str();
  SetWindowTextA(Handle(), caption.c_str());
}

void TfmMainForm::FormCreate() {
  grid_ = StatisticsGrid::Create(Handle(), Scaled(layout::kGrid, dpi_), kGridId,
                                 session_.summary().table, dpi_)
              .Handle();
  scoreLine_ = CreateControl(Handle(), L"STATIC", L"", SS_LEFT | SS_NOPREFIX,
                             Scaled({layout::kScoreLineLeft, layout::kScoreLineTop,
                                     layout::kScoreLineLeft, layout::kScoreLineTop},
                                    dpi_),
                             kScoreLineId);
  SendMessageW(scoreLine_, WM_SETFONT, reinterpret_cast<WPARAM>(scoreLineFont_.get()), FALSE);
  for (const auto& [id, caption, frame] :
       {std::tuple{kRecalcButtonId, L"Recalc", layout::kRecalcButton},
        std::tuple{kVoivodeshipButtonId, L"Voivodeship", layout::kVoivodeshipButton}}) {
    HWND button = image_button::Create(Handle(), caption, Scaled(frame, dpi_), id);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  }
}

void TfmMainForm::Show() {
  if (shown_) {
    ShowWindow(Handle(), SW_SHOW);
    return;
  }
  shown_ = true;
  const bool maximized = RestoreWindowSettings(Handle(), storage_);
  ShowWindow(Handle(), maximized ? SW_SHOWMAXIMIZED : SW_SHOW);
  ReportingErrors(Handle(), [this] { RunRecalculation([this] { session_.FormShow(); }); });
}

void TfmMainForm::Release() {
  // The voivodeship window, destroyed first with its owner, saved first.
  if (g_voivodeshipWindow != nullptr &&
      GetWindow(g_voivodeshipWindow->Handle(), GW_OWNER) == Handle())
    g_voivodeshipWindow->SaveSettings();
  SaveWindowSettings(Handle(), storage_, true);
  // Saved, or reported: the destruction neither tries again nor reports twice.
  saveAtDestruction_ = false;
  ScheduleDestruction();
}

void TfmMainForm::ScheduleDestruction() {
  PostMessageW(Handle(), kDeferredDestroyMessage, 0, 0);
}

void TfmMainForm::ForgoSavingAtDestruction() {
  saveAtDestruction_ = false;
}

void TfmMainForm::ShowSummary() {
  const std::string& line = session_.summary().scoreLine;
  SetWindowTextA(scoreLine_, line.c_str());
  // Label1 sizes itself to its text.
  WindowDc screen(scoreLine_);
  ScopedSelection font(screen.dc(), scoreLineFont_.get());
  SIZE extent{};
  GetTextExtentPoint32A(screen.dc(), line.data(), static_cast<int>(line.size()), &extent);
  SetWindowPos(scoreLine_, nullptr, 0, 0, extent.cx, extent.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(grid_, nullptr, FALSE);
}

template <class Recalculation>
void TfmMainForm::RunRecalculation(Recalculation&& recalculation) {
  // The voivodeship window shows the band of the reload's last row once,
  // at the end, if it is still open then.
  struct BandBatch {
    TfmDomList* window = g_voivodeshipWindow;
    BandBatch() {
      if (window != nullptr) window->BeginBandBatch();
    }
    ~BandBatch() {
      if (window != nullptr && window == g_voivodeshipWindow) window->EndBandBatch();
    }
  } bandBatch;
  struct DestroyWhenDone {
    TfmMainForm& form;
    ~DestroyWhenDone() {
      if (form.destroyPending_ && !form.session_.Recalculating()) {
        form.destroyPending_ = false;
        form.ScheduleDestruction();
      }
    }
  } destroyWhenDone{*this};
  recalculation();
}

void TfmMainForm::RecalcClick() {
  RunRecalculation([this] { session_.RecalcStatisticExecute(); });
}

void TfmMainForm::DeferredDestroy() {
  if (session_.Recalculating())
    destroyPending_ = true;
  else
    DestroyWindow(Handle());
}

void TfmMainForm::FormCloseQuery() {
  session_.FormCloseQuery();
}

void TfmMainForm::ShowDXList() {
  const auto band = BandNumberToShow(current_.Band.view());
  if (band && g_voivodeshipWindow != nullptr) g_voivodeshipWindow->SetBand(*band);
}

void TfmMainForm::btnOBL1Click() {
  if (g_voivodeshipWindow != nullptr) return;
  TfmDomList& window = TfmDomList::Create(*this);
  g_voivodeshipWindow = &window;
  window.Show();
}

void TfmMainForm::FormClose() {
  if (g_statisticsWindow == this) g_statisticsWindow = nullptr;
  Release();
}

void TfmMainForm::CloseCommand() {
  ShowWindow(Handle(), SW_SHOW);
  ShowWindow(Handle(), SW_MINIMIZE);
}

void TfmMainForm::FormDestroy() {
  if (saveAtDestruction_) SaveWindowSettings(Handle(), storage_, true);
  if (g_statisticsWindow == this) g_statisticsWindow = nullptr;
}

void TfmMainForm::PaintPanel() {
  PaintContext paint(Handle());
  const RECT panel = Scaled(layout::kPanel, dpi_);
  FillRect(paint.dc(), &panel, panelBrush_.get());
}

bool TfmMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CREATE:
      FormCreate();
      result = 0;
      return true;
    case WM_PAINT:
      PaintPanel();
      result = 0;
      return true;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) != scoreLine_) return false;
      SetTextColor(reinterpret_cast<HDC>(wParam), layout::kScoreLineColour);
      SetBkColor(reinterpret_cast<HDC>(wParam), layout::kPanelColour);
      result = reinterpret_cast<LRESULT>(panelBrush_.get());
      return true;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      const PixelImage& image = item.CtlID == kRecalcButtonId ? kRecalcImage : kVoivodeshipImage;
      image_button::Draw(item, image, layout::kButtonFaceColour, dpi_);
      result = TRUE;
      return true;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) return false;
      if (LOWORD(wParam) == kRecalcButtonId) {
        RecalcClick();
        return true;
      }
      if (LOWORD(wParam) == kVoivodeshipButtonId) {
        btnOBL1Click();
        return true;
      }
      return false;
    case WM_SYSCOMMAND:
      if (wParam != kCloseCommand) return false;
      CloseCommand();
      result = 0;
      return true;
    case WM_CLOSE:
      FormCloseQuery();
      SaveWindowSettings(Handle(), storage_, false);
      FormClose();
      return true;
    case WM_QUERYENDSESSION:
      FormCloseQuery();
      SaveWindowSettings(Handle(), storage_, false);
      result = TRUE;
      return true;
    case kPumpMarkerMessage:
      return true;
    case kDeferredDestroyMessage:
      DeferredDestroy();
      return true;
    case WM_DESTROY:
      FormDestroy();
      return true;
    default:
      return false;
  }
}

namespace {

// This module's windows of the given class on this thread.
struct WindowsOfClass {
  std::wstring_view className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowOfClass(HWND hwnd, LPARAM search) {
  auto& windows = *reinterpret_cast<WindowsOfClass*>(search);
  wchar_t className[64] = {};
  GetClassNameW(hwnd, className, static_cast<int>(std::size(className)));
  const auto module = reinterpret_cast<HINSTANCE>(GetClassLongPtrW(hwnd, GCLP_HMODULE));
  if (std::wstring_view(className) == windows.className &&
      module == reinterpret_cast<HINSTANCE>(&__ImageBase)) {
    windows.found.push_back(hwnd);
  }
  return TRUE;
}

std::vector<HWND> ThreadWindowsOfClass(std::wstring_view className) {
  WindowsOfClass windows{className, {}};
  EnumThreadWindows(GetCurrentThreadId(), &CollectWindowOfClass,
                    reinterpret_cast<LPARAM>(&windows));
  return std::move(windows.found);
}

}  // namespace

void DestroyStatisticsWindowsOnUnload() noexcept {
  // The system's loader lock is held here: destruction must neither write
  // the settings file nor show a message box. _Release has saved already.
  try {
    for (HWND hwnd : ThreadWindowsOfClass(kVoivodeshipWindowClass))
      if (TfmDomList* window = TfmDomList::FromHandle(hwnd)) window->ForgoSavingAtDestruction();
    for (HWND hwnd : ThreadWindowsOfClass(kStatisticsWindowClass)) {
      if (TfmMainForm* form = TfmMainForm::FromHandle(hwnd)) form->ForgoSavingAtDestruction();
      DestroyWindow(hwnd);
    }
  } catch (...) {
    // Nothing can be reported while the module unloads.
  }
  UnregisterClassW(kStatisticsWindowClass, reinterpret_cast<HINSTANCE>(&__ImageBase));
  UnregisterClassW(kStatisticsGridClass, reinterpret_cast<HINSTANCE>(&__ImageBase));
  UnregisterClassW(kVoivodeshipWindowClass, reinterpret_cast<HINSTANCE>(&__ImageBase));
}

}  // namespace zeltra::win32
