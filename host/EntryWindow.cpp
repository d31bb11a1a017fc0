#include "EntryWindow.h"

#include <array>
#include <stdexcept>

namespace zeltra::host {
namespace {

constexpr wchar_t kClassName[] = L"ZeltraReferenceHost";
constexpr std::array<const char*, 9> kBands = {"1.8", "3.5", "7",  "10", "14",
                                               "18",  "21",  "24", "28"};

constexpr int kFirstCaption = 200;

struct Field {
  int id;
  const wchar_t* caption;
  int width;
};
constexpr std::array<Field, 6> kFields = {{{kCallSign, L"Call", 90},
                                           {kBand, L"Band", 60},
                                           {kMode, L"Mode", 60},
                                           {kReport, L"Report", 80},
                                           {kContinent, L"Cont", 40},
                                           {kDxcc, L"DXCC", 50}}};
constexpr int kMargin = 8;
constexpr int kGap = 6;
constexpr int kRowHeight = 22;

HWND Child(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int x, int y,
           int width, int height, int id) {
  return CreateWindowExW(className == std::wstring_view(L"EDIT") ? WS_EX_CLIENTEDGE : 0, className,
                         text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

EntryWindow::EntryWindow(HostSession& session, const std::string& pluginName) : session_(session) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &EntryWindow::WindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kClassName;
  RegisterClassW(&windowClass);
  window_ = CreateWindowExW(0, kClassName, L"Zeltra reference host",
                            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 40, 40, 480,
                            150, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window_ == nullptr) throw std::runtime_error("cannot create the host's window");
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  CreateControls(pluginName);
  ShowWindow(window_, SW_SHOW);
}

EntryWindow::~EntryWindow() {
  if (IsWindow(window_)) DestroyWindow(window_);
}

void EntryWindow::CreateControls(const std::string& pluginName) {
  const std::wstring name(pluginName.begin(), pluginName.end());
  Child(window_, L"STATIC", (L"Plug-in: " + name).c_str(), SS_LEFT, kMargin, kMargin, 440, 18,
        kPluginLabel);
  int x = kMargin;
  const int captionTop = kMargin + kRowHeight;
  const int fieldTop = captionTop + 18;
  for (const Field& field : kFields) {
    Child(window_, L"STATIC", field.caption, SS_LEFT, x, captionTop, field.width, 16,
          kFirstCaption + field.id);
    if (field.id == kBand) {
      HWND band = Child(window_, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, x,
                        fieldTop, field.width, 200, field.id);
      for (const char* text : kBands)
        SendMessageA(band, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
      SendMessageW(band, CB_SETCURSEL, 4, 0);  // 14
    } else {
      Child(window_, L"EDIT", L"", ES_AUTOHSCROLL | ES_UPPERCASE | WS_TABSTOP, x, fieldTop,
            field.width, kRowHeight, field.id);
    }
    x += field.width + kGap;
  }
  SetText(kMode, "RTTY");
  Child(window_, L"STATIC", L"", SS_LEFT, kMargin, fieldTop + kRowHeight + kGap, 200, 18, kAnswer);
  Child(window_, L"BUTTON", L"Log", BS_DEFPUSHBUTTON | WS_TABSTOP, 380,
        fieldTop + kRowHeight + kGap, 80, kRowHeight, IDOK);
  for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT))
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  SetFocus(GetDlgItem(window_, kCallSign));
}

std::string EntryWindow::Text(int id) const {
  char text[256] = {};
  GetDlgItemTextA(window_, id, text, static_cast<int>(sizeof text));
  return text;
}

void EntryWindow::SetText(int id, const std::string& text) {
  SetDlgItemTextA(window_, id, text.c_str());
}

LogRow EntryWindow::Contact() const {
  LogRow contact;
  contact.callSign = Text(kCallSign);
  contact.band = Text(kBand);
  contact.mode = Text(kMode);
  contact.report = Text(kReport);
  contact.continent = Text(kContinent);
  contact.dxccPrefix = Text(kDxcc);
  contact.mainPrefix = contact.dxccPrefix;
  return contact;
}

void EntryWindow::CallSignChanged() {
  const LogRow contact = Contact();
  if (contact.callSign.empty()) {
    SetText(kAnswer, "");
    return;
  }
  SetText(kAnswer, "Score: " + ScoreText(session_.Preview(contact)));
  // Suggest the report unless the operator typed one.
  if (contact.report.empty() || contact.report == prefilled_) {
    prefilled_ = session_.SuggestedExchange(contact);
    SetText(kReport, prefilled_);
  }
}

void EntryWindow::LogContact() {
  const LogRow contact = Contact();
  if (contact.callSign.empty()) return;
  const int result = session_.Log(contact);
  prefilled_.clear();
  SetText(kCallSign, "");
  SetText(kReport, "");
  // After the fields: emptying the call sign clears the answer.
  SetText(kAnswer, contact.callSign + " logged: " + ScoreText(result));
  SetFocus(GetDlgItem(window_, kCallSign));
}

void EntryWindow::RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

LRESULT CALLBACK EntryWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<EntryWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self != nullptr) {
    try {
      if (message == WM_COMMAND && LOWORD(wParam) == kCallSign && HIWORD(wParam) == EN_CHANGE) {
        self->CallSignChanged();
        return 0;
      }
      if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        self->LogContact();
        return 0;
      }
    } catch (const std::exception& error) {
      MessageBoxA(hwnd, error.what(), "Zeltra reference host", MB_OK | MB_ICONERROR);
      return 0;
    }
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace zeltra::host
