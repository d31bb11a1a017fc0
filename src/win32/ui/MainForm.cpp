#include "ui/MainForm.h"

#include <filesystem>
#include <string>
#include <vector>

#include "plugin/PluginState.h"
#include "ui/StatisticsWindowIds.h"

namespace zeltra::win32 {
namespace {

constexpr char kDesignedCaption[] = "Zeltra RTTY Contest";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOPMOST;
constexpr POINT kDesignedPosition{943, 201};
constexpr SIZE kClientSize{394, 193};
constexpr RECT kScoreLineRect{8, 149, 386, 165};

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

}  // namespace

TfmMainForm::TfmMainForm(const TQSOData& current, PrefillList prefill)
    : session_(current, std::move(prefill), [this] { ShowDXList(); }) {}

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

TfmMainForm& TfmMainForm::Create(const TQSOData& current) {
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
}

void TfmMainForm::Release() {
  PostMessageW(Handle(), kDeferredDestroyMessage, 0, 0);
}

void TfmMainForm::ShowSummary() {
  SetWindowTextA(scoreLine_, session_.summary().scoreLine.c_str());
}

void TfmMainForm::FormCreate() {
  scoreLine_ = CreateWindowExW(
      0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kScoreLineRect.left,
      kScoreLineRect.top, kScoreLineRect.right - kScoreLineRect.left,
      kScoreLineRect.bottom - kScoreLineRect.top, Handle(),
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kScoreLineId)), ModuleHandle(), nullptr);
}

void TfmMainForm::FormDestroy() {
  if (g_statisticsWindow == this) g_statisticsWindow = nullptr;
}

bool TfmMainForm::HandleMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_CREATE:
      FormCreate();
      result = 0;
      return true;
    case kDeferredDestroyMessage:
      DestroyWindow(Handle());
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
