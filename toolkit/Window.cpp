#include "toolkit/Window.h"

#include <stdexcept>
#include <string>

#include "toolkit/Application.h"
#include "toolkit/Cursor.h"

namespace tk {

TWindow::~TWindow() {
  if (handle_) {
    // Unbind first: the derived parts of this object are gone, so the last messages go to
    // the default procedure.
    SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
    HWND window = handle_;
    handle_ = nullptr;
    DestroyWindow(window);
  }
}

TWindow* TWindow::FromHandle(HWND window) {
  if (!window) return nullptr;
  WNDPROC proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
  if (proc != &TWindow::WindowProc) return nullptr;
  return reinterpret_cast<TWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void TWindow::RegisterWindowClass(const char* className, HCURSOR cursor, HBRUSH background, UINT style,
                                  HICON icon) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExA(instance, className, &existing)) return;
  WNDCLASSEXA cls{};
  cls.cbSize = sizeof(cls);
  cls.style = style;
  cls.lpfnWndProc = &TWindow::WindowProc;
  cls.hInstance = instance;
  cls.hCursor = cursor;
  cls.hbrBackground = background;
  cls.hIcon = icon;
  cls.lpszClassName = className;
  if (!RegisterClassExA(&cls))
    throw std::runtime_error(std::string("Fensterklasse nicht registriert: ") + className);
}

void TWindow::CreateHandle(const char* className, const char* caption, DWORD style, DWORD exStyle,
                           const RECT& bounds, HWND parent) {
  HWND window =
      CreateWindowExA(exStyle, className, caption, style, bounds.left, bounds.top, bounds.right - bounds.left,
                      bounds.bottom - bounds.top, parent, nullptr, GetModuleHandleA(nullptr), this);
  if (!window) throw std::runtime_error(std::string("Fenster nicht erstellt: ") + className);
}

LRESULT TWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(handle_, message, wParam, lParam);
}

LRESULT CALLBACK TWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->handle_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_SETCURSOR && ScreenCursor() == TCursor::HourGlass) {
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
    return TRUE;
  }

  LRESULT result = 0;
  bool handled = false;
  RunHandler([&] {
    result = self->HandleMessage(message, wParam, lParam);
    handled = true;
  });
  if (!handled) result = DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
  }
  return result;
}

}  // namespace tk
