#include "win32/ui/AccessibleObject.h"

namespace zeltra::win32 {
namespace {

// A BSTR of single-byte text, as the windows show it.
HRESULT ToBstr(const std::optional<std::string>& text, BSTR* result) {
  if (result == nullptr) return E_POINTER;
  *result = nullptr;
  if (!text) return S_FALSE;
  const int length =
      MultiByteToWideChar(CP_ACP, 0, text->data(), static_cast<int>(text->size()), nullptr, 0);
  *result = SysAllocStringLen(nullptr, static_cast<UINT>(length));
  if (*result == nullptr) return E_OUTOFMEMORY;
  MultiByteToWideChar(CP_ACP, 0, text->data(), static_cast<int>(text->size()), *result, length);
  return S_OK;
}

void SetLong(VARIANT* variant, long value) {
  VariantInit(variant);
  variant->vt = VT_I4;
  variant->lVal = value;
}

}  // namespace

void AccessibleObject::Forget(HWND window) {
  auto* object = static_cast<AccessibleObject*>(RemovePropW(window, kProperty));
  if (object == nullptr) return;
  CoDisconnectObject(static_cast<IAccessible*>(object), 0);
  object->Release();
}

HRESULT AccessibleObject::QueryInterface(REFIID id, void** object) {
  if (object == nullptr) return E_POINTER;
  if (id == IID_IUnknown || id == IID_IDispatch || id == IID_IAccessible) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG AccessibleObject::AddRef() {
  return ++references_;
}

ULONG AccessibleObject::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT AccessibleObject::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}
HRESULT AccessibleObject::GetTypeInfo(UINT, LCID, ITypeInfo**) {
  return E_NOTIMPL;
}
HRESULT AccessibleObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}
HRESULT AccessibleObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                 UINT*) {
  return E_NOTIMPL;
}

std::optional<long> AccessibleObject::ChildOf(const VARIANT& child) const {
  if (child.vt != VT_I4 || !IsWindow(window_)) return std::nullopt;
  if (child.lVal < CHILDID_SELF || child.lVal > ChildCount()) return std::nullopt;
  return child.lVal;
}

HRESULT AccessibleObject::get_accParent(IDispatch** parent) {
  if (parent == nullptr) return E_POINTER;
  return CreateStdAccessibleObject(window_, OBJID_WINDOW, IID_IDispatch,
                                   reinterpret_cast<void**>(parent));
}

HRESULT AccessibleObject::get_accChildCount(long* count) {
  if (count == nullptr) return E_POINTER;
  if (!IsWindow(window_)) return E_FAIL;
  *count = ChildCount();
  return S_OK;
}

HRESULT AccessibleObject::get_accChild(VARIANT child, IDispatch** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  return ChildOf(child) ? S_FALSE : E_INVALIDARG;  // children are simple elements
}

HRESULT AccessibleObject::get_accName(VARIANT child, BSTR* name) {
  const auto which = ChildOf(child);
  if (!which) return E_INVALIDARG;
  return ToBstr(Name(*which), name);
}

HRESULT AccessibleObject::get_accValue(VARIANT child, BSTR* value) {
  if (value != nullptr) *value = nullptr;
  return ChildOf(child) ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
}

HRESULT AccessibleObject::get_accDescription(VARIANT child, BSTR* description) {
  const auto which = ChildOf(child);
  if (!which) return E_INVALIDARG;
  return ToBstr(Description(*which), description);
}

HRESULT AccessibleObject::get_accRole(VARIANT child, VARIANT* role) {
  if (role == nullptr) return E_POINTER;
  const auto which = ChildOf(child);
  if (!which) return E_INVALIDARG;
  SetLong(role, Role(*which));
  return S_OK;
}

long AccessibleObject::State(long) const {
  return STATE_SYSTEM_READONLY;
}

HRESULT AccessibleObject::get_accState(VARIANT child, VARIANT* state) {
  if (state == nullptr) return E_POINTER;
  const auto which = ChildOf(child);
  if (!which) return E_INVALIDARG;
  SetLong(state, State(*which));
  return S_OK;
}

HRESULT AccessibleObject::get_accHelp(VARIANT child, BSTR* help) {
  if (help != nullptr) *help = nullptr;
  return ChildOf(child) ? S_FALSE : E_INVALIDARG;
}

HRESULT AccessibleObject::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
  if (file != nullptr) *file = nullptr;
  if (topic != nullptr) *topic = 0;
  return S_FALSE;
}

HRESULT AccessibleObject::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  if (shortcut != nullptr) *shortcut = nullptr;
  return ChildOf(child) ? S_FALSE : E_INVALIDARG;
}

HRESULT AccessibleObject::get_accFocus(VARIANT* focus) {
  if (focus == nullptr) return E_POINTER;
  VariantInit(focus);
  return S_FALSE;
}

HRESULT AccessibleObject::get_accSelection(VARIANT* selection) {
  if (selection == nullptr) return E_POINTER;
  VariantInit(selection);
  return S_FALSE;
}

HRESULT AccessibleObject::get_accDefaultAction(VARIANT child, BSTR* action) {
  if (action != nullptr) *action = nullptr;
  return ChildOf(child) ? S_FALSE : E_INVALIDARG;
}

HRESULT AccessibleObject::accSelect(long, VARIANT) {
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT AccessibleObject::accLocation(long* left, long* top, long* width, long* height,
                                      VARIANT child) {
  if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
  const auto which = ChildOf(child);
  if (!which) return E_INVALIDARG;
  RECT area{};
  if (const auto rect = *which == CHILDID_SELF ? std::nullopt : ChildRect(*which)) {
    area = *rect;
    MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&area), 2);
  } else {
    GetWindowRect(window_, &area);
  }
  *left = area.left;
  *top = area.top;
  *width = area.right - area.left;
  *height = area.bottom - area.top;
  return S_OK;
}

HRESULT AccessibleObject::accNavigate(long direction, VARIANT start, VARIANT* end) {
  if (end == nullptr) return E_POINTER;
  VariantInit(end);
  const auto from = ChildOf(start);
  if (!from) return E_INVALIDARG;
  long to = 0;
  switch (direction) {
    case NAVDIR_FIRSTCHILD:
      to = *from == CHILDID_SELF ? 1 : 0;
      break;
    case NAVDIR_LASTCHILD:
      to = *from == CHILDID_SELF ? ChildCount() : 0;
      break;
    case NAVDIR_NEXT:
      to = *from == CHILDID_SELF ? 0 : *from + 1;
      break;
    case NAVDIR_PREVIOUS:
      to = *from == CHILDID_SELF ? 0 : *from - 1;
      break;
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
  if (to < 1 || to > ChildCount()) return S_FALSE;
  SetLong(end, to);
  return S_OK;
}

HRESULT AccessibleObject::accHitTest(long x, long y, VARIANT* child) {
  if (child == nullptr) return E_POINTER;
  VariantInit(child);
  POINT point{x, y};
  if (!IsWindow(window_) || !ScreenToClient(window_, &point)) return E_FAIL;
  RECT client{};
  GetClientRect(window_, &client);
  if (!PtInRect(&client, point)) return S_FALSE;
  for (long i = 1; i <= ChildCount(); ++i) {
    const auto rect = ChildRect(i);
    if (rect && PtInRect(&*rect, point)) {
      SetLong(child, i);
      return S_OK;
    }
  }
  SetLong(child, CHILDID_SELF);
  return S_OK;
}

HRESULT AccessibleObject::accDoDefaultAction(VARIANT) {
  return DISP_E_MEMBERNOTFOUND;
}
HRESULT AccessibleObject::put_accName(VARIANT, BSTR) {
  return DISP_E_MEMBERNOTFOUND;
}
HRESULT AccessibleObject::put_accValue(VARIANT, BSTR) {
  return DISP_E_MEMBERNOTFOUND;
}

}  // namespace zeltra::win32
