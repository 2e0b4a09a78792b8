#include "toolkit/Window.h"

#include <string>

#include "runtime/Errors.h"
#include "toolkit/Application.h"
#include "toolkit/Cursor.h"
#include "toolkit/Theme.h"

namespace toolkit {

namespace {

const wchar_t kObjectProperty[] = L"TkWindowObject";

// Whatever makes the non-client area (a frame, an edge, a scroll bar, the window's own answer to
// WM_NCCALCSIZE), the client area is smaller than the window.
bool HasNonClientArea(HWND window) {
  RECT outer{}, client{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return !EqualRect(&outer, &client);
}

}  // namespace

void SetClassIcons(WNDCLASSEXW& cls, LPCWSTR icon) {
  cls.hIcon = LoadIconW(cls.hInstance, icon);
  cls.hIconSm = static_cast<HICON>(LoadImageW(cls.hInstance, icon, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

TWindow::~TWindow() {
  accessible_.Disconnect();
  // A system window destroyed with its parent leaves a stale handle here; the property tells
  // whether the handle still names our window.
  if (handle_ && FromHandle(handle_) == this) {
    // Unbind first: the derived parts of this object are gone, so the last messages go to
    // the default procedure.
    HWND window = handle_;
    Unbind();
    DestroyWindow(window);
  } else if (handle_) {
    Unbind();
  }
}

void TWindow::Bind(HWND window, bool ownClass) {
  handle_ = window;
  ownClass_ = ownClass;
  SetPropW(window, kObjectProperty, this);
  if (ownClass) SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(this));
  ++live_;
}

void TWindow::Unbind() {
  if (FromHandle(handle_) == this) RemovePropW(handle_, kObjectProperty);
  if (ownClass_ && FromOwnClassWindow(handle_) == this) SetWindowLongPtrW(handle_, 0, 0);
  handle_ = nullptr;
  --live_;
}

TWindow* TWindow::FromOwnClassWindow(HWND window) {
  return reinterpret_cast<TWindow*>(GetWindowLongPtrW(window, 0));
}

TWindow* TWindow::FromHandle(HWND window) {
  if (!window) return nullptr;
  return static_cast<TWindow*>(GetPropW(window, kObjectProperty));
}

void TWindow::RegisterWindowClass(const wchar_t* className, LPCWSTR cursor, HBRUSH background, UINT style,
                                  LPCWSTR icon) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, className, &existing)) return;
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.style = style;
  cls.lpfnWndProc = &TWindow::WindowProc;
  cls.cbWndExtra = sizeof(TWindow*);
  cls.hInstance = instance;
  cls.hCursor = cursor ? LoadCursorW(nullptr, cursor) : nullptr;
  cls.hbrBackground = background;
  if (icon) SetClassIcons(cls, icon);
  cls.lpszClassName = className;
  if (!RegisterClassExW(&cls)) runtime::ThrowLastError(L"Fensterklasse nicht registriert: ", className);
}

void TWindow::CreateHandle(const wchar_t* className, const wchar_t* caption, DWORD style, DWORD exStyle,
                           const RECT& bounds, HWND parent) {
  if (handle_) throw runtime::EInvalidOperation(std::wstring(L"Fenster besteht schon: ") + className);
  const RECT place = creationBounds_.value_or(bounds);
  creationBounds_.reset();
  HWND window =
      CreateWindowExW(exStyle, className, caption, style, place.left, place.top, place.right - place.left,
                      place.bottom - place.top, parent, nullptr, GetModuleHandleW(nullptr), this);
  if (!window) runtime::ThrowLastError(L"Fenster nicht erstellt: ", className);
}

void TWindow::CreateSystemHandle(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent) {
  if (handle_) throw runtime::EInvalidOperation(std::wstring(L"Fenster besteht schon: ") + className);
  const RECT place = creationBounds_.value_or(RECT{0, 0, 0, 0});
  creationBounds_.reset();
  HWND window =
      CreateWindowExW(exStyle, className, L"", style, place.left, place.top, place.right - place.left,
                      place.bottom - place.top, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window) runtime::ThrowLastError(L"Fenster nicht erstellt: ", className);
  Bind(window, false);
}

LRESULT TWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // A window without frame, edge or scroll bar has no non-client area to paint; the default
  // procedure would still spend a device context on it, for every child at every show.
  if (message == WM_NCPAINT && !HasNonClientArea(handle_)) return 0;
  // Every class of ours that has a background has the face as it, in the scheme's colour.
  if (message == WM_ERASEBKGND && ownClass_ && GetClassLongPtrW(handle_, GCLP_HBRBACKGROUND)) {
    RECT client;
    GetClientRect(handle_, &client);
    FillRect(reinterpret_cast<HDC>(wParam), &client, Brush(TRole::Face));
    return 1;
  }
  if (message == WM_GETOBJECT) {
    if (AccDescribe(TAccPath{}).Role != 0) {
      if (const LRESULT answer = accessible_.Answer(handle_, *this, wParam, lParam)) return answer;
    }
  }
  return DefWindowProcW(handle_, message, wParam, lParam);
}

LRESULT CALLBACK TWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams)->Bind(window, true);
  }
  TWindow* self = FromOwnClassWindow(window);
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_SETCURSOR && ScreenCursor() == TCursor::HourGlass) {
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return TRUE;
  }

  LRESULT result = 0;
  bool handled = false;
  RunHandler([&] {
    result = self->HandleMessage(message, wParam, lParam);
    handled = true;
  });
  if (!handled) result = DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // Screen readers that still hold the window's object get no answer from a window that is gone.
    self->accessible_.Disconnect();
    self->Unbind();
  }
  return result;
}

}  // namespace toolkit
