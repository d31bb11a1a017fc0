#include "win32/ui/VoivodeshipWindow.h"

#include <commctrl.h>

#include <string>

#include "core/ui/StatisticsLayout.h"
#include "core/ui/Voivodeships.h"
#include "win32/settings/SettingsFile.h"
#include "win32/ui/AccessibleObject.h"
#include "win32/ui/BandButton.h"
#include "win32/ui/Controls.h"
#include "win32/ui/LetterListAccessible.h"
#include "win32/ui/VoivodeshipWindowIds.h"

namespace zeltra::win32 {
namespace {

constexpr DWORD kStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOPMOST;
constexpr Rect kDesignedFrame{1020, 164, 1359, 346};  // 339 x 182
constexpr int kPanelHeight = 18;
constexpr int kSplitterHeight = 3;

int BandOfButton(int id) {
  return id - kBandButtonIdBase;
}

LRESULT CALLBACK AnswerListObject(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR) {
  if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT)
    return AccessibleObject::Answer<LetterListAccessible>(list, wParam, lParam);
  if (message == WM_NCDESTROY) {
    AccessibleObject::Forget(list);
    RemoveWindowSubclass(list, &AnswerListObject, 0);
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

bool RunningUnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

}  // namespace

VoivodeshipWindow::VoivodeshipWindow(VoivodeshipWindowOwner& owner)
    : owner_(owner),
      storage_("TfmDomList", {.sizeable = true, .showState = false, .currentBand = false}),
      dpi_(ScreenDpi()),
      font_(MakeFont(L"MS Sans Serif", statistics_layout::kFontHeight, FW_NORMAL, DEFAULT_PITCH,
                     dpi_)),
      boldFont_(MakeFont(L"MS Sans Serif", statistics_layout::kFontHeight, FW_BOLD, DEFAULT_PITCH,
                         dpi_)) {}

VoivodeshipWindow& VoivodeshipWindow::Create(VoivodeshipWindowOwner& owner, HWND ownerWindow) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  RegisterWindowClass(kVoivodeshipWindowClass, GetSysColorBrush(COLOR_BTNFACE));
  auto self = std::make_unique<VoivodeshipWindow>(owner);
  const int dpi = self->dpi_;
  const Rect frame{kDesignedFrame.left, kDesignedFrame.top,
                   kDesignedFrame.left + ScaleToDpi(kDesignedFrame.Width(), dpi),
                   kDesignedFrame.top + ScaleToDpi(kDesignedFrame.Height(), dpi)};
  VoivodeshipWindow& window = CreateOwned(std::move(self), kExStyle, kVoivodeshipWindowClass,
                                          kStyle, ToRect(frame), ownerWindow);
  SetWindowTextW(window.Handle(), L"Voivodeship");
  return window;
}

void VoivodeshipWindow::OnCreate() {
  for (const Band& band : kBands) {
    HWND button =
        band_button::Create(Handle(), std::wstring(band.text.begin(), band.text.end()).c_str(),
                            kBandButtonIdBase + band.number);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    bandButtons_[static_cast<std::size_t>(band.number - kFirstBand)] = button;
  }
  // The designed state: "10" down, drawn plain, until a band is chosen.
  HWND designed = bandButtons_[kDesignedBand - kFirstBand];
  SendMessageW(designed, BM_SETCHECK, BST_CHECKED, 0);
  band_button::SetDesignedDown(designed, true);

  list_ = CreateControl(Handle(), WC_LISTVIEWW, L"", LVS_LIST | LVS_SORTASCENDING | LVS_SINGLESEL,
                        {}, kVoivodeshipListId);
  SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  // Drawn through an off-screen buffer against flicker, except under Wine,
  // whose list view then paints the part below the items black.
  ListView_SetExtendedListViewStyle(list_,
                                    LVS_EX_FLATSB | (RunningUnderWine() ? 0 : LVS_EX_DOUBLEBUFFER));
  ListView_DeleteAllItems(list_);
  for (const char letter : kVoivodeshipLetters) {
    wchar_t text[2] = {static_cast<wchar_t>(letter), L'\0'};
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = ListView_GetItemCount(list_);
    item.pszText = text;
    ListView_InsertItem(list_, &item);
  }

  // The list answers screen readers with the letters' states.
  SetWindowSubclass(list_, &AnswerListObject, 0, 0);

  splitter_ = CreateControl(Handle(), L"STATIC", L"", 0, {}, kSplitterId);
}

void VoivodeshipWindow::Show() {
  const bool maximized = RestoreWindowSettings(Handle(), storage_);
  ShowWindow(Handle(), maximized ? SW_SHOWMAXIMIZED : SW_SHOW);
  if (const auto stored = BandNumbered(owner_.StoredBand().value_or(0))) SetBand(*stored);
}

void VoivodeshipWindow::SetBand(const Band& band) {
  band_ = band.number;
  bandText_ = band.text;
  owner_.StoreBand(band.number);
  ShowBand();
}

void VoivodeshipWindow::ShowBand() {
  for (int other = kFirstBand; other <= kLastBand; ++other) {
    HWND button = bandButtons_[static_cast<std::size_t>(other - kFirstBand)];
    band_button::SetDesignedDown(button, false);
    SendMessageW(button, BM_SETCHECK, other == band_ ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  InvalidateRect(list_, nullptr, FALSE);
  // A screen reader that is listening hears that the letters' states changed.
  NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, list_, OBJID_CLIENT, CHILDID_SELF);
}

void VoivodeshipWindow::OnBandButtonClicked(int band) {
  if (const auto clicked = BandNumbered(band)) SetBand(*clicked);
}

void VoivodeshipWindow::LayOutControls(int width, int height) {
  const int panelHeight = ScaleToDpi(kPanelHeight, dpi_);
  const auto places = BandButtonLayout(width, panelHeight);
  const auto order = BandButtonOrder();
  for (std::size_t k = 0; k < order.size(); ++k) {
    const Rect& place = places[k];
    MoveWindow(bandButtons_[static_cast<std::size_t>(order[k] - kFirstBand)], place.left, place.top,
               place.Width(), place.Height(), TRUE);
  }
  const int splitterHeight = ScaleToDpi(kSplitterHeight, dpi_);
  MoveWindow(list_, 0, panelHeight, width, std::max(0, height - panelHeight - splitterHeight),
             TRUE);
  MoveWindow(splitter_, 0, height - splitterHeight, width, splitterHeight, TRUE);
}

LRESULT VoivodeshipWindow::DrawListItem(NMLVCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      wchar_t text[4] = {};
      ListView_GetItemText(list_, static_cast<int>(draw.nmcd.dwItemSpec), 0, text, 4);
      const LetterState state = owner_.StateOfLetter(bandText_, static_cast<char>(text[0]));
      if (state == LetterState::kNothingRecorded) return CDRF_DODEFAULT;
      const bool worked = state == LetterState::kWorked;
      draw.clrText = worked ? kWorkedColour : kNotWorkedColour;
      SelectObject(draw.nmcd.hdc, worked ? boldFont_.get() : font_.get());
      return CDRF_NEWFONT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

void VoivodeshipWindow::OnClose() {
  SaveWindowSettings(Handle(), storage_, false);
  owner_.VoivodeshipWindowGone(*this);
  PostMessageW(Handle(), kDeferredDestroyVoivodeshipMessage, 0, 0);
}

void VoivodeshipWindow::ForgetAccessibleObjects() {
  AccessibleObject::Forget(list_);
  for (HWND button : bandButtons_) AccessibleObject::Forget(button);
}

void VoivodeshipWindow::SaveSettings() {
  pendingSave_.Now(Handle());
}

void VoivodeshipWindow::OnDestroy() {
  pendingSave_.AtDestruction(Handle());
  owner_.VoivodeshipWindowGone(*this);
}

bool VoivodeshipWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      result = 0;
      return true;
    case WM_SIZE:
      LayOutControls(LOWORD(lParam), HIWORD(lParam));
      result = 0;
      return true;
    case WM_COMMAND: {
      const int band = BandOfButton(LOWORD(wParam));
      if (HIWORD(wParam) != BN_CLICKED || !BandNumbered(band)) return false;
      OnBandButtonClicked(band);
      return true;
    }
    case WM_NOTIFY: {
      auto& header = *reinterpret_cast<NMHDR*>(lParam);
      if (header.hwndFrom != list_ || header.code != NM_CUSTOMDRAW) return false;
      result = DrawListItem(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
      return true;
    }
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) != splitter_) return false;
      SetCursor(LoadCursorW(nullptr, IDC_SIZENS));
      result = TRUE;
      return true;
    case WM_CLOSE:
      OnClose();
      return true;
    case kVoivodeshipLetterState:
      result = static_cast<LRESULT>(owner_.StateOfLetter(bandText_, static_cast<char>(wParam)));
      return true;
    case kVoivodeshipBandShown:
      result = band_;
      return true;
    case kDeferredDestroyVoivodeshipMessage:
      DestroyWindow(Handle());
      return true;
    case WM_DESTROY:
      OnDestroy();
      return true;
    default:
      return false;
  }
}

void UnregisterVoivodeshipWindowClass() noexcept {
  UnregisterClassW(kVoivodeshipWindowClass, reinterpret_cast<HINSTANCE>(&__ImageBase));
}

}  // namespace zeltra::win32
