#include "win32/platform/ErrorBox.h"

namespace zeltra::win32 {

namespace {
constexpr char kErrorCaption[] = "Zeltra RTTY Contest";
}

void ShowErrorBox(HWND owner, const char* message) noexcept {
  MessageBoxA(owner, message, kErrorCaption, MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

}  // namespace zeltra::win32
