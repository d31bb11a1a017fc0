#include "win32/support/PostedWork.h"

#include <utility>

namespace zeltra::testing {
namespace {

constexpr wchar_t kClassName[] = L"ZeltraTestPostedWork";
constexpr UINT kRunWork = WM_APP + 100;

}  // namespace

PostedWork::PostedWork() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &PostedWork::WindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kClassName;
  RegisterClassW(&windowClass);  // fails harmlessly when already registered
  window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

PostedWork::~PostedWork() {
  DestroyWindow(window_);
}

void PostedWork::Post(std::function<void()> work) {
  work_ = std::move(work);
  PostMessageW(window_, kRunWork, 0, 0);
}

LRESULT CALLBACK PostedWork::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunWork) {
    auto* self = reinterpret_cast<PostedWork*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self != nullptr && self->work_) std::exchange(self->work_, {})();
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace zeltra::testing
