// Base of the windows that the program creates from window classes of its own: one static window
// procedure binds the HWND to its C++ object and dispatches to HandleMessage.
#pragma once

#include <windows.h>

namespace tk {

class TWindow {
 public:
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;
  virtual ~TWindow();

  HWND Handle() const { return handle_; }
  // The object bound to a window of one of our classes, or null.
  static TWindow* FromHandle(HWND window);

 protected:
  TWindow() = default;

  // Registers the class once per process; its procedure dispatches to the bound object.
  static void RegisterWindowClass(const char* className, HCURSOR cursor, HBRUSH background, UINT style = 0,
                                  HICON icon = nullptr);
  void CreateHandle(const char* className, const char* caption, DWORD style, DWORD exStyle,
                    const RECT& bounds, HWND parent);
  // Exceptions never leave this: the dispatcher hands them to the standard error display.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND handle_ = nullptr;
};

// A window created from a system class (list view, tool tip): destroyed with its owner object.
class TSystemWindow {
 public:
  explicit TSystemWindow(HWND window) : handle_(window) {}
  TSystemWindow(const TSystemWindow&) = delete;
  TSystemWindow& operator=(const TSystemWindow&) = delete;
  ~TSystemWindow() {
    if (handle_ && IsWindow(handle_)) DestroyWindow(handle_);
  }
  HWND Handle() const { return handle_; }

 private:
  HWND handle_ = nullptr;
};

}  // namespace tk
