#include "ui/MainForm.h"

#include <filesystem>
#include <string>
#include <vector>

#include "plugin/PluginState.h"
#include "reload/OdbcLogQuery.h"
#include "ui/MessagePump.h"
#include "ui/StatisticsWindowIds.h"

namespace zeltra::win32 {
namespace {

constexpr char kDesignedCaption[] = "Zeltra RTTY Contest";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOPMOST;
constexpr POINT kDesignedPosition{943, 201};
constexpr SIZE kClientSize{394, 193};
constexpr RECT kScoreLineRect{8, 149, 386, 165};
constexpr RECT kRecalcButtonRect{184, 167, 286, 192};

std::filesystem::path HostDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw std::runtime_error("Cannot find the host program's folder");
    if (length < path.size()) {
      path.resize(length);
      return std::filesystem::path(path).parent_path();
    }
    path.resize(path.size() * 2);
  }
}

// The prefill list beside the host program. A file that cannot be read is
// reported and leaves the list empty: the window opens all the same.
PrefillList LoadPrefillList() {
  try {
    return PrefillList::FromFile(HostDirectory() / L"Plugins" / L"Zeltra.txt");
  } catch (const std::exception& error) {
    ShowErrorBox(nullptr, error.what());
    return PrefillList{};
  }
}

RECT DesignedFrame() {
  RECT frame{0, 0, kClientSize.cx, kClientSize.cy};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  OffsetRect(&frame, kDesignedPosition.x - frame.left, kDesignedPosition.y - frame.top);
  return frame;
}

// The host's connection handle as the record carries it: 4 bytes, the
// SQLHDBC of a 32-bit process.
SQLHDBC HostConnection(const TQSOData& current) {
  return reinterpret_cast<SQLHDBC>(static_cast<std::uintptr_t>(current.Connection));
}

HWND CreateChild(HWND parent, LPCWSTR className, LPCWSTR text, DWORD style, const RECT& rect,
                 int id) {
  return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                         rect.right - rect.left, rect.bottom - rect.top, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         reinterpret_cast<HINSTANCE>(&__ImageBase), nullptr);
}

}  // namespace

TfmMainForm::TfmMainForm(TQSOData& current, PrefillList prefill)
    : session_(current, std::move(prefill), std::make_unique<OdbcLogQuery>(HostConnection(current)),
               SessionHooks{.showDXList = [this] { ShowDXList(); },
                            .pumpMessages = [this] { PumpPendingMessages(Handle()); },
                            .summaryChanged = [this] { ShowSummary(); }}) {}

void TfmMainForm::RegisterWindowClass() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (GetClassInfoExW(ModuleHandle(), kStatisticsWindowClass, &windowClass)) return;
  windowClass.lpfnWndProc = &TfmMainForm::WindowProc;
  windowClass.hInstance = ModuleHandle();
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kStatisticsWindowClass;
  if (RegisterClassExW(&windowClass) == 0)
    throw std::runtime_error("Cannot register the statistics window class");
}

TfmMainForm& TfmMainForm::Create(TQSOData& current) {
  RegisterWindowClass();
  auto self = std::make_unique<TfmMainForm>(current, LoadPrefillList());
  TfmMainForm& form = CreateOwned(std::move(self), kExStyle, kStatisticsWindowClass, kStyle,
                                  DesignedFrame(), nullptr);
  form.SetCaption(current);
  return form;
}

void TfmMainForm::SetCaption(const TQSOData& current) {
  const std::string caption = std::string(kDesignedCaption) + " in " + current.TitleSuffix.str();
  SetWindowTextA(Handle(), caption.c_str());
}

void TfmMainForm::Show() {
  ShowWindow(Handle(), SW_SHOW);
  if (shown_) return;
  shown_ = true;
  ReportingErrors(Handle(), [this] { RunRecalculation([this] { session_.FormShow(); }); });
}

void TfmMainForm::Release() {
  PostMessageW(Handle(), kDeferredDestroyMessage, 0, 0);
}

template <class Recalculation>
void TfmMainForm::RunRecalculation(Recalculation&& recalculation) {
  struct DestroyWhenDone {
    TfmMainForm& form;
    ~DestroyWhenDone() {
      if (form.destroyPending_ && !form.session_.Recalculating()) {
        form.destroyPending_ = false;
        form.Release();
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

void TfmMainForm::FormClose() {
  if (g_statisticsWindow == this) g_statisticsWindow = nullptr;
  Release();
}

void TfmMainForm::ShowSummary() {
  SetWindowTextA(scoreLine_, session_.summary().scoreLine.c_str());
}

void TfmMainForm::FormCreate() {
  scoreLine_ =
      CreateChild(Handle(), L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kScoreLineRect, kScoreLineId);
  CreateChild(Handle(), L"BUTTON", L"Recalc", BS_PUSHBUTTON | WS_TABSTOP, kRecalcButtonRect,
              kRecalcButtonId);
}

void TfmMainForm::FormDestroy() {
  if (g_statisticsWindow == this) g_statisticsWindow = nullptr;
}

bool TfmMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_CREATE:
      FormCreate();
      result = 0;
      return true;
    case WM_COMMAND:
      if (LOWORD(wParam) == kRecalcButtonId && HIWORD(wParam) == BN_CLICKED) {
        RecalcClick();
        return true;
      }
      return false;
    case WM_CLOSE:
      FormClose();
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

BOOL CALLBACK CollectStatisticsWindow(HWND hwnd, LPARAM found) {
  wchar_t className[64] = {};
  GetClassNameW(hwnd, className, static_cast<int>(std::size(className)));
  const auto module = reinterpret_cast<HINSTANCE>(GetClassLongPtrW(hwnd, GCLP_HMODULE));
  if (std::wstring_view(className) == kStatisticsWindowClass &&
      module == reinterpret_cast<HINSTANCE>(&__ImageBase)) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(hwnd);
  }
  return TRUE;
}

}  // namespace

void DestroyStatisticsWindowsOnUnload() noexcept {
  try {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), &CollectStatisticsWindow,
                      reinterpret_cast<LPARAM>(&windows));
    for (HWND hwnd : windows) DestroyWindow(hwnd);
  } catch (...) {
    // Nothing can be reported while the module unloads.
  }
  UnregisterClassW(kStatisticsWindowClass, reinterpret_cast<HINSTANCE>(&__ImageBase));
}

}  // namespace zeltra::win32
