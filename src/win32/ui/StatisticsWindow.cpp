#include "win32/ui/StatisticsWindow.h"

#include <filesystem>
#include <string>
#include <vector>

#include "core/ui/ButtonImages.h"
#include "core/ui/StatisticsLayout.h"
#include "core/ui/Voivodeships.h"
#include "odbc/OdbcLogQuery.h"
#include "win32/platform/HostProgram.h"
#include "win32/settings/SettingsFile.h"
#include "win32/ui/AccessibleObject.h"
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
// The system keeps the low four bits of a system command for itself: they
// are masked off before the command is compared.
constexpr WPARAM kSystemCommandMask = 0xFFF0;

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
SQLHDBC HostConnection(const TQSOData& record) {
  return reinterpret_cast<SQLHDBC>(static_cast<std::uintptr_t>(record.Connection));
}

RECT Scaled(const Rect& designed, int dpi) {
  return ToRect(ScaleToDpi(designed, dpi));
}

}  // namespace

StatisticsWindow::StatisticsWindow(const TQSOData& first, PrefillList prefill, HostLinks host)
    : forget_(std::move(host.forget)),
      session_(std::move(prefill), std::make_unique<OdbcLogQuery>(HostConnection(first)),
               std::move(host.logSource),
               SessionEvents{.pumpMessages = [this] { PumpPendingMessages(Handle()); },
                             .summaryChanged = [this] { ShowSummary(); },
                             .bandToShow = [this](const Band& band) { FollowBand(band); }}),
      storage_("TfmMainForm", {.sizeable = false, .showState = true, .currentBand = true}),
      dpi_(ScreenDpi()),
      font_(MakeFont(L"MS Sans Serif", layout::kFontHeight, FW_NORMAL, DEFAULT_PITCH, dpi_)),
      scoreLineFont_(MakeFont(L"Courier", layout::kScoreLineFontHeight, FW_BOLD,
                              FIXED_PITCH | FF_MODERN, dpi_)),
      panelBrush_(CreateSolidBrush(layout::kPanelColour)) {}

StatisticsWindow& StatisticsWindow::Create(const TQSOData& first, HostLinks host) {
  RegisterWindowClass(kStatisticsWindowClass, GetSysColorBrush(COLOR_BTNFACE));
  auto self = std::make_unique<StatisticsWindow>(first, LoadPrefillList(), std::move(host));
  const RECT frame = DesignedFrame(self->dpi_);
  StatisticsWindow& window =
      CreateOwned(std::move(self), kExStyle, kStatisticsWindowClass, kStyle, frame, nullptr);
  window.SetCaption(first);
  return window;
}

void StatisticsWindow::SetCaption(const TQSOData& first) {
  const std::string caption = std::string(kDesignedCaption) + " in " + first.TitleSuffix.str();
  SetWindowTextA(Handle(), caption.c_str());
}

void StatisticsWindow::OnCreate() {
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

void StatisticsWindow::Show() {
  if (shown_) {
    ShowWindow(Handle(), SW_SHOW);
    return;
  }
  shown_ = true;
  const bool maximized = RestoreWindowSettings(Handle(), storage_);
  ShowWindow(Handle(), maximized ? SW_SHOWMAXIMIZED : SW_SHOW);
  ReportingErrors(Handle(), [this] { RunRecalculation([this] { session_.ShowFirstTime(); }); });
}

void StatisticsWindow::Release() {
  // The voivodeship window, destroyed first with its owner, saved first.
  if (voivodeshipWindow_ != nullptr) voivodeshipWindow_->SaveSettings();
  // Screen readers let go now, not while the DLL unloads.
  AccessibleObject::Forget(grid_);
  if (voivodeshipWindow_ != nullptr) voivodeshipWindow_->ForgetAccessibleObjects();
  // Saved, or reported: the destruction neither tries again nor reports twice.
  pendingSave_.Now(Handle());
  ScheduleDestruction();
}

void StatisticsWindow::ScheduleDestruction() {
  PostMessageW(Handle(), kDeferredDestroyMessage, 0, 0);
}

void StatisticsWindow::ForgoSavingAtDestruction() {
  pendingSave_.Forgo();
  if (voivodeshipWindow_ != nullptr) voivodeshipWindow_->ForgoSavingAtDestruction();
}

void StatisticsWindow::ShowSummary() {
  const std::string& line = session_.summary().scoreLine;
  SetWindowTextA(scoreLine_, line.c_str());
  // The score line sizes itself to its text.
  WindowDc screen(scoreLine_);
  ScopedSelection font(screen.dc(), scoreLineFont_.get());
  SIZE extent{};
  GetTextExtentPoint32A(screen.dc(), line.data(), static_cast<int>(line.size()), &extent);
  SetWindowPos(scoreLine_, nullptr, 0, 0, extent.cx, extent.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(grid_, nullptr, FALSE);
  // A screen reader that is listening hears that the table and the score
  // line changed.
  NotifyWinEvent(EVENT_OBJECT_REORDER, grid_, OBJID_CLIENT, CHILDID_SELF);
  NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, scoreLine_, OBJID_WINDOW, CHILDID_SELF);
}

template <class Recalculation>
void StatisticsWindow::RunRecalculation(Recalculation&& recalculation) {
  struct DestroyWhenDone {
    StatisticsWindow& window;
    ~DestroyWhenDone() {
      if (window.destroyPending_ && !window.session_.Recalculating()) {
        window.destroyPending_ = false;
        window.ScheduleDestruction();
      }
    }
  } destroyWhenDone{*this};
  recalculation();
}

void StatisticsWindow::OnRecalcClicked() {
  RunRecalculation([this] { session_.Recalculate(); });
}

void StatisticsWindow::OnDeferredDestroy() {
  if (session_.Recalculating())
    destroyPending_ = true;
  else
    DestroyWindow(Handle());
}

void StatisticsWindow::FollowBand(const Band& band) {
  if (voivodeshipWindow_ != nullptr) voivodeshipWindow_->SetBand(band);
}

void StatisticsWindow::OpenVoivodeshipWindow() {
  if (voivodeshipWindow_ != nullptr) return;
  voivodeshipWindow_ = &VoivodeshipWindow::Create(*this, Handle());
  voivodeshipWindow_->Show();
}

LetterState StatisticsWindow::StateOfLetter(std::string_view band, char letter) const {
  return session_.scorer().StateOfLetter(band, letter);
}

std::optional<int> StatisticsWindow::StoredBand() const {
  return storage_.CurrentBandNumber();
}

void StatisticsWindow::StoreBand(int band) {
  storage_.SetCurrentBand(band);
}

void StatisticsWindow::VoivodeshipWindowGone(const VoivodeshipWindow& window) {
  if (voivodeshipWindow_ == &window) voivodeshipWindow_ = nullptr;
}

void StatisticsWindow::OnCloseRequest() {
  session_.CloseLogQuery();
  SaveWindowSettings(Handle(), storage_, false);
  if (forget_) forget_(*this);
  Release();
}

void StatisticsWindow::OnCloseCommand() {
  ShowWindow(Handle(), SW_SHOW);
  ShowWindow(Handle(), SW_MINIMIZE);
}

void StatisticsWindow::OnDestroy() {
  pendingSave_.AtDestruction(Handle());
  if (forget_) forget_(*this);
}

void StatisticsWindow::OnPaint() {
  PaintContext paint(Handle());
  const RECT panel = Scaled(layout::kPanel, dpi_);
  FillRect(paint.dc(), &panel, panelBrush_.get());
}

bool StatisticsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      result = 0;
      return true;
    case WM_PAINT:
      OnPaint();
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
        OnRecalcClicked();
        return true;
      }
      if (LOWORD(wParam) == kVoivodeshipButtonId) {
        OpenVoivodeshipWindow();
        return true;
      }
      return false;
    case WM_SYSCOMMAND:
      // The close button, the system menu's Close, Alt+F4.
      if ((wParam & kSystemCommandMask) != SC_CLOSE) return false;
      OnCloseCommand();
      result = 0;
      return true;
    case WM_CLOSE:
      OnCloseRequest();
      return true;
    case WM_QUERYENDSESSION:
      session_.CloseLogQuery();
      SaveWindowSettings(Handle(), storage_, false);
      result = TRUE;
      return true;
    case kPumpMarkerMessage:
      return true;
    case kDeferredDestroyMessage:
      OnDeferredDestroy();
      return true;
    case WM_DESTROY:
      OnDestroy();
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
    for (HWND hwnd : ThreadWindowsOfClass(kStatisticsWindowClass)) {
      if (StatisticsWindow* window = StatisticsWindow::FromHandle(hwnd))
        window->ForgoSavingAtDestruction();
      DestroyWindow(hwnd);
    }
  } catch (...) {
    // Nothing can be reported while the module unloads.
  }
  // Its own classes only; the voivodeship window's are its own to let go.
  UnregisterClassW(kStatisticsWindowClass, reinterpret_cast<HINSTANCE>(&__ImageBase));
  UnregisterClassW(kStatisticsGridClass, reinterpret_cast<HINSTANCE>(&__ImageBase));
}

}  // namespace zeltra::win32
