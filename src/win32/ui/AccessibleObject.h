#pragma once

#include <windows.h>

#include <oleacc.h>

#include <atomic>
#include <optional>
#include <string>

namespace zeltra::win32 {

// An IAccessible for one of our windows, whose children are simple
// elements numbered from 1. It learns everything from its window through
// messages each time it is asked, so a screen reader that holds it past the
// window's end gets errors, never freed memory. Derived classes say what
// the window and its children are; this class does the COM work.
class AccessibleObject : public IAccessible {
 public:
  explicit AccessibleObject(HWND window) : window_(window) {}
  virtual ~AccessibleObject() = default;
  AccessibleObject(const AccessibleObject&) = delete;
  AccessibleObject& operator=(const AccessibleObject&) = delete;

  // Answers WM_GETOBJECT for the client area with window's one object of
  // T, made at the first question and kept with the window; any other
  // object id goes to the window's default. Forget must run when the window
  // goes.
  template <class T>
  static LRESULT Answer(HWND window, WPARAM flags, LPARAM objectId) {
    if (static_cast<LONG>(objectId) != OBJID_CLIENT)
      return DefWindowProcW(window, WM_GETOBJECT, flags, objectId);
    auto* object = static_cast<AccessibleObject*>(GetPropW(window, kProperty));
    if (object == nullptr) {
      object = new T(window);  // owned by COM references from here on; the window holds one
      SetPropW(window, kProperty, object);
    }
    return LresultFromObject(IID_IAccessible, flags, object);
  }

  // The window is going: every screen reader's hold on its object is cut,
  // so that no call can reach the object once this module is unloaded.
  static void Forget(HWND window);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch: not offered; screen readers use IAccessible's own methods.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override;

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

 protected:
  HWND Window() const { return window_; }

  // What derived classes say; child 0 (CHILDID_SELF) is the window itself.
  virtual long ChildCount() const = 0;
  virtual std::optional<std::string> Name(long child) const = 0;
  virtual std::optional<std::string> Description(long child) const = 0;
  virtual long Role(long child) const = 0;
  virtual long State(long child) const;
  // In client coordinates; none for the window itself (its window rect serves).
  virtual std::optional<RECT> ChildRect(long child) const = 0;

 private:
  // The child a VARIANT names, when it names this window or one of its children.
  std::optional<long> ChildOf(const VARIANT& child) const;

  static constexpr wchar_t kProperty[] = L"ZeltraAccessible";

  HWND window_;
  std::atomic<ULONG> references_{1};
};

}  // namespace zeltra::win32
