#include "toolkit/Accessible.h"

#include <objbase.h>
#include <oleacc.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "runtime/Text.h"

namespace toolkit {

// What the objects of one window share, counted by hand (smaller than a shared pointer); the last of
// the link and the objects frees it.
struct TAccConnection {
  HWND Window;
  TAccessibleSource* Source;  // null once the window is gone
  int Holders;
};

namespace {
TAccConnection* Hold(TAccConnection* connection) {
  ++connection->Holders;
  return connection;
}
void Drop(TAccConnection* connection) {
  if (--connection->Holders == 0) delete connection;
}

// A function of a system library, which is loaded and kept, as an import would be; null when the
// library or the function is missing. Each caller asks once, at its first use.
template <typename Function>
Function* LateFunction(const wchar_t* library, const char* name) {
  HMODULE module = LoadLibraryW(library);
  const FARPROC entry = module ? GetProcAddress(module, name) : nullptr;
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(entry));
}

// A text of an element as a string of the automation library, or S_FALSE and null for an empty one.
HRESULT ReturnText(const std::wstring& text, BSTR* out) {
  static auto* const allocate =
      LateFunction<decltype(::SysAllocStringLen)>(L"oleaut32.dll", "SysAllocStringLen");
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  if (allocate) *out = allocate(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

// VariantInit without the automation library.
void Clear(VARIANT* out) {
  *out = VARIANT{};
  out->vt = VT_EMPTY;
}

// A window's object (OBJID_WINDOW, OBJID_CLIENT) as the accessibility library gives it, or null.
IDispatch* WindowObject(HWND window, LONG objectId) {
  static auto* const fromWindow =
      LateFunction<decltype(::AccessibleObjectFromWindow)>(L"oleacc.dll", "AccessibleObjectFromWindow");
  IDispatch* object = nullptr;
  if (!fromWindow || fromWindow(window, static_cast<DWORD>(objectId), __uuidof(IDispatch),
                                reinterpret_cast<void**>(&object)) != S_OK)
    return nullptr;
  return object;
}

IDispatch* ClientObject(HWND window) {
  return WindowObject(window, OBJID_CLIENT);
}

// Ids above this name a part's part of the control: 0x10000 + 1 + part * 256 + subpart.
const LONG kNestedIds = 0x10000;

void SetChild(VARIANT* out, LONG child) {
  Clear(out);
  out->vt = VT_I4;
  out->lVal = child;
}

void SetDispatch(VARIANT* out, IDispatch* object) {
  Clear(out);
  out->vt = VT_DISPATCH;
  out->pdispVal = object;
}

// The body of a COM method: no exception leaves it for the caller, which knows none (WIL's
// CATCH_RETURN). Memory that ran out is E_OUTOFMEMORY, any other error E_FAIL.
template <typename Body>
HRESULT Guarded(Body body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

// Objects that exist now, for the tests' count.
int liveObjects = 0;

// Methods that reach the source or allocate run Guarded; the others cannot throw and say so.
class TAccessibleObject final : public IAccessible {
 public:
  TAccessibleObject(TAccConnection* connection, TAccPath path) : connection_(Hold(connection)), path_(path) {
    ++liveObjects;
  }
  TAccessibleObject(const TAccessibleObject&) = delete;
  TAccessibleObject& operator=(const TAccessibleObject&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) noexcept override {
    if (!object) return E_POINTER;
    if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return static_cast<ULONG>(++references_); }
  ULONG STDMETHODCALLTYPE Release() noexcept override {
    const LONG left = --references_;
    if (left == 0) {
      --liveObjects;
      delete this;
    }
    return static_cast<ULONG>(left);
  }

  // IDispatch: not offered; clients use the interface's own methods.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override {
    if (count) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) noexcept override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) noexcept override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!Connected()) return RPC_E_DISCONNECTED;
    if (!path_.empty()) {
      return Guarded([&] {
        *parent = new TAccessibleObject(connection_, path_.Parent());
        return S_OK;
      });
    }
    // The control's window as the system describes it.
    *parent = WindowObject(connection_->Window, OBJID_WINDOW);
    return *parent ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) noexcept override {
    if (!count) return E_POINTER;
    *count = 0;
    if (!Connected()) return RPC_E_DISCONNECTED;
    return Guarded([&] {
      *count = WindowChildren() ? static_cast<LONG>(ReadingOrder(connection_->Window).size())
                                : connection_->Source->AccChildCount(path_);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) noexcept override {
    if (!object) return E_POINTER;
    *object = nullptr;
    return Guarded([&] {
      if (WindowChildren() && child.vt == VT_I4 && child.lVal != CHILDID_SELF) {
        const std::vector<HWND> children = ReadingOrder(connection_->Window);
        if (child.lVal < 1 || static_cast<size_t>(child.lVal) > children.size()) return E_INVALIDARG;
        *object = ClientObject(children[static_cast<size_t>(child.lVal - 1)]);
        return *object ? S_OK : S_FALSE;
      }
      TAccPath path;
      if (const HRESULT found = Resolve(child, path); found != S_OK) return found;
      if (path == path_) {
        AddRef();
        *object = this;
        return S_OK;
      }
      // A part with parts of its own is an object; a part without is a simple element of this one.
      if (connection_->Source->AccChildCount(path) == 0) return S_FALSE;
      *object = new TAccessibleObject(connection_, path);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) noexcept override {
    return Text(child, name, kName);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) noexcept override {
    return Text(child, value, kValue);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) noexcept override {
    return Text(child, text, kDescription);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) noexcept override {
    return Text(child, text, kNone);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) noexcept override {
    return Text(child, text, kShortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) noexcept override {
    return Text(child, text, kDefaultAction);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) noexcept override {
    if (file) *file = nullptr;
    if (topic) *topic = -1;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) noexcept override {
    return Number(child, role,
                  [this](const TAccPath& path) { return connection_->Source->AccDescribe(path).Role; });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) noexcept override {
    return Number(child, state, [this](const TAccPath& path) { return static_cast<LONG>(StateOf(path)); });
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) noexcept override {
    if (!focus) return E_POINTER;
    Clear(focus);
    if (!Connected()) return RPC_E_DISCONNECTED;
    if (!path_.empty() || GetFocus() != connection_->Window) return S_FALSE;
    return Guarded([&] {
      SetChild(focus, AccChildId(connection_->Source->AccFocus()));
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) noexcept override {
    if (!selection) return E_POINTER;
    Clear(selection);
    return Connected() ? S_FALSE : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) noexcept override {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    return Guarded([&] {
      TAccPath path;
      if (const HRESULT found = Resolve(child, path); found != S_OK) return found;
      const RECT r = ScreenBounds(path);
      *left = r.left;
      *top = r.top;
      *width = r.right - r.left;
      *height = r.bottom - r.top;
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) noexcept override {
    if (!end) return E_POINTER;
    Clear(end);
    return Guarded([&] {
      TAccPath path;
      if (const HRESULT found = Resolve(start, path); found != S_OK) return found;
      TAccessibleSource& source = *connection_->Source;
      if (WindowChildren() && path == path_ &&
          (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD)) {
        const std::vector<HWND> children = ReadingOrder(connection_->Window);
        if (children.empty()) return S_FALSE;
        IDispatch* object = ClientObject(direction == NAVDIR_FIRSTCHILD ? children.front() : children.back());
        if (!object) return S_FALSE;
        SetDispatch(end, object);
        return S_OK;
      }
      LONG target = 0;  // a child of this object, counted from 1
      if (path == path_) {
        const int count = source.AccChildCount(path_);
        if (direction == NAVDIR_FIRSTCHILD && count > 0) target = 1;
        if (direction == NAVDIR_LASTCHILD && count > 0) target = count;
      } else {
        const int index = path.Last(), count = source.AccChildCount(path_);
        if ((direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) && index + 1 < count) target = index + 2;
        if ((direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) && index > 0) target = index;
      }
      if (target == 0) return S_FALSE;
      ChildResult(target, end);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) noexcept override {
    if (!hit) return E_POINTER;
    Clear(hit);
    if (!Connected()) return RPC_E_DISCONNECTED;
    return Guarded([&] {
      const POINT p{x, y};
      const RECT own = ScreenBounds(path_);
      if (!PtInRect(&own, p)) return S_FALSE;
      if (WindowChildren()) {
        // The shown child window there answers for itself, down to its deepest part.
        POINT client = p;
        ScreenToClient(connection_->Window, &client);
        const HWND child = ChildWindowFromPointEx(connection_->Window, client, CWP_SKIPINVISIBLE);
        IDispatch* object = child && child != connection_->Window ? ClientObject(child) : nullptr;
        if (object) {
          SetDispatch(hit, object);
          return S_OK;
        }
        SetChild(hit, CHILDID_SELF);
        return S_OK;
      }
      const int count = connection_->Source->AccChildCount(path_);
      for (int i = 0; i < count; ++i) {
        const RECT r = ScreenBounds(path_.Child(i));
        if (PtInRect(&r, p)) {
          ChildResult(i + 1, hit);
          return S_OK;
        }
      }
      SetChild(hit, CHILDID_SELF);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) noexcept override {
    return Guarded([&] {
      TAccPath path;
      if (const HRESULT found = Resolve(child, path); found != S_OK) return found;
      return connection_->Source->AccDoDefaultAction(path) ? S_OK : DISP_E_MEMBERNOTFOUND;
    });
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) noexcept override { return E_NOTIMPL; }

 private:
  ~TAccessibleObject() { Drop(connection_); }

  bool Connected() const { return connection_->Source && IsWindow(connection_->Window); }
  // The control itself, whose children are its child windows.
  bool WindowChildren() const {
    return path_.empty() && connection_->Source && connection_->Source->AccChildWindows();
  }

  // The element that a child id names: this object (CHILDID_SELF) or one of its parts.
  HRESULT Resolve(const VARIANT& child, TAccPath& path) const {
    if (!Connected()) return RPC_E_DISCONNECTED;
    if (child.vt != VT_I4) return E_INVALIDARG;
    path = path_;
    if (child.lVal == CHILDID_SELF) return S_OK;
    // Child windows answer for themselves, as objects of their own.
    if (WindowChildren()) return E_INVALIDARG;
    TAccessibleSource& source = *connection_->Source;
    // The control names a part's part by one id of its own, as events and accFocus give it.
    if (path_.empty() && child.lVal > kNestedIds) {
      const LONG nested = child.lVal - kNestedIds - 1;
      const int part = static_cast<int>(nested >> 8), subpart = static_cast<int>(nested & 0xFF);
      if (part >= source.AccChildCount(path_) || subpart >= source.AccChildCount(path_.Child(part)))
        return E_INVALIDARG;
      path = path_.Child(part).Child(subpart);
      return S_OK;
    }
    if (child.lVal < 1 || child.lVal > source.AccChildCount(path_)) return E_INVALIDARG;
    path = path_.Child(child.lVal - 1);
    return S_OK;
  }

  enum TTextField { kName, kValue, kShortcut, kDefaultAction, kDescription, kNone };
  // The number that of gives for the element child names.
  template <typename Of>
  HRESULT Number(const VARIANT& child, VARIANT* out, Of of) const noexcept {
    if (!out) return E_POINTER;
    Clear(out);
    return Guarded([&] {
      TAccPath path;
      if (const HRESULT found = Resolve(child, path); found != S_OK) return found;
      SetChild(out, of(path));
      return S_OK;
    });
  }

  HRESULT Text(const VARIANT& child, BSTR* out, TTextField field) const noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    return Guarded([&] {
      TAccPath path;
      if (const HRESULT found = Resolve(child, path); found != S_OK) return found;
      const TAccElement element = connection_->Source->AccDescribe(path);
      switch (field) {
        case kName:
          return ReturnText(element.Name, out);
        case kValue:
          return ReturnText(element.Value, out);
        case kShortcut:
          return ReturnText(element.Shortcut, out);
        case kDefaultAction:
          return ReturnText(element.DefaultAction, out);
        case kDescription:
          return element.Description.empty() ? S_FALSE : ReturnText(element.Description, out);
        default:
          return S_FALSE;
      }
    });
  }

  // A part as a child id, or as an object when it has parts of its own.
  void ChildResult(LONG child, VARIANT* out) {
    const TAccPath path = path_.Child(static_cast<int>(child) - 1);
    if (connection_->Source->AccChildCount(path) > 0)
      SetDispatch(out, new TAccessibleObject(connection_, path));
    else
      SetChild(out, child);
  }

  unsigned long StateOf(const TAccPath& path) const {
    HWND window = connection_->Window;
    unsigned long state = connection_->Source->AccDescribe(path).State;
    if (!IsWindowVisible(window)) state |= STATE_SYSTEM_INVISIBLE;
    if (!path.empty()) return state;
    if (!IsWindowEnabled(window)) state |= STATE_SYSTEM_UNAVAILABLE;
    // A control that Tab skips may still be given the focus (a page's text after a page turn).
    if (GetWindowLongPtrW(window, GWL_STYLE) & WS_TABSTOP) state |= STATE_SYSTEM_FOCUSABLE;
    if (GetFocus() == window) state |= STATE_SYSTEM_FOCUSED | STATE_SYSTEM_FOCUSABLE;
    return state;
  }

  RECT ScreenBounds(const TAccPath& path) const {
    RECT r = connection_->Source->AccDescribe(path).Bounds;
    if (path.empty() && IsRectEmpty(&r)) GetClientRect(connection_->Window, &r);
    MapWindowPoints(connection_->Window, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  TAccConnection* connection_;
  TAccPath path_;
  LONG references_ = 1;
};

}  // namespace

LRESULT TAccessibleLink::Answer(HWND window, TAccessibleSource& source, WPARAM wParam, LPARAM lParam) {
  if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT)) return 0;
  static auto* const answer = LateFunction<decltype(::LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
  if (!answer) return 0;
  // The object goes to the screen reader's process through COM, which this thread joins once (a
  // thread that joined already keeps its own apartment).
  static const HRESULT joined = [] {
    auto* join = LateFunction<decltype(::CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    return join ? join(nullptr, COINIT_APARTMENTTHREADED) : E_FAIL;
  }();
  (void)joined;
  if (!root_) {
    connection_ = new TAccConnection{window, &source, 1};
    root_ = new TAccessibleObject(connection_, {});
  }
  const LRESULT result = answer(__uuidof(IAccessible), wParam, root_);
  return result < 0 ? 0 : result;
}

void TAccessibleLink::Disconnect() {
  if (root_) root_->Release();
  root_ = nullptr;
  if (!connection_) return;
  connection_->Source = nullptr;
  Drop(connection_);
  connection_ = nullptr;
}

int TAccessibleLink::LiveObjects() {
  return liveObjects;
}

std::vector<HWND> ReadingOrder(HWND window) {
  struct TPlaced {
    HWND Window;
    RECT Bounds;
  };
  std::vector<TPlaced> placed;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    placed.push_back({child, {}});
    GetWindowRect(child, &placed.back().Bounds);
  }
  // A few windows each: an insertion sort, which keeps equal places in creation order.
  const auto sort = [](auto first, auto last, auto key) {
    for (auto i = first; i != last; ++i)
      for (auto j = i; j != first && key(*j) < key(*(j - 1)); --j) std::iter_swap(j, j - 1);
  };
  sort(placed.begin(), placed.end(), [](const TPlaced& p) { return p.Bounds.top; });
  for (auto line = placed.begin(); line != placed.end();) {
    const LONG middle = std::max(line->Bounds.top + 1, (line->Bounds.top + line->Bounds.bottom) / 2);
    const auto end =
        std::find_if(line + 1, placed.end(), [middle](const TPlaced& p) { return p.Bounds.top >= middle; });
    sort(line, end, [](const TPlaced& p) { return p.Bounds.left; });
    line = end;
  }
  std::vector<HWND> children;
  for (const TPlaced& p : placed) children.push_back(p.Window);
  return children;
}

void NotifyValueChange(HWND window) {
  if (window) NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

LONG AccChildId(const TAccPath& path) {
  if (path.empty()) return CHILDID_SELF;
  if (path.size() == 1) return path[0] + 1;
  return kNestedIds + 1 + path[0] * 256 + path[1];
}

void NotifyFocus(HWND window, const TAccPath& path) {
  if (!window) return;
  NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, AccChildId(path));
  NotifyWinEvent(EVENT_OBJECT_SELECTION, window, OBJID_CLIENT, AccChildId(path));
}

void NotifyNameChange(HWND window, const TAccPath& path) {
  if (window) NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, AccChildId(path));
}

std::wstring OneLine(const std::wstring& text) {
  std::wstring line;
  bool blank = false;
  for (wchar_t c : text) {
    if (c == L'\r' || c == L'\n' || c == L' ') {
      blank = !line.empty();
      continue;
    }
    if (blank) line += L' ';
    blank = false;
    line += c;
  }
  return line;
}

}  // namespace toolkit
