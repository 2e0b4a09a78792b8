// Base of the program's windows. Construction and window creation are two steps: a constructor only
// stores settings, and Create makes the window once the C++ object is whole, so that no message
// reaches a half-built object. One static window procedure binds the HWND to its object and
// dispatches to HandleMessage.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string>

#include "toolkit/Accessible.h"

namespace toolkit {

// Gives a window class the program's icon resource, large and small. The small one is loaded here:
// the system would otherwise derive it anew at every registration, at several times the cost.
void SetClassIcons(WNDCLASSEXW& cls, LPCWSTR icon);

// A window is also what it tells a screen reader: a window that describes itself (a role other than
// 0) answers with its own accessible object, any other keeps the system's description.
class TWindow : public TAccessibleSource {
 public:
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;
  virtual ~TWindow();

  HWND Handle() const { return handle_; }
  // Windows that objects of this class hold now.
  static int LiveWindows() { return live_; }
  // The object bound to a window of one of our classes, or null. The binding is a window
  // property, so it survives subclassing (tool tips subclass the windows they watch).
  static TWindow* FromHandle(HWND window);
  // The same for the window procedure of our classes: the object is also kept in the window's own
  // extra bytes, which the procedure reads at every message far faster than a property.

  // The colour scheme changed. Windows of the system's classes take the new colours here; our own
  // read the palette at every paint and need nothing.
  virtual void ThemeChanged() {}
  // A system window's custom-draw notification, which its form hands back to it.
  virtual LRESULT CustomDraw(NMCUSTOMDRAW&) { return CDRF_DODEFAULT; }

 protected:
  TWindow() = default;

  // Registers the class once per process; its procedure dispatches to the bound object.
  // cursor: a system cursor (IDC_ARROW), icon: a resource of the program; both are loaded only when
  // the class is registered.
  static void RegisterWindowClass(const wchar_t* className, LPCWSTR cursor, HBRUSH background, UINT style = 0,
                                  LPCWSTR icon = nullptr);
  // Creates the window of one of our classes, bound to this object.
  void CreateHandle(const wchar_t* className, const wchar_t* caption, DWORD style, DWORD exStyle,
                    const RECT& bounds, HWND parent);
  // Creates a window of a system class (list view, tool tip), owned but not bound: the system's
  // procedure handles it.
  void CreateSystemHandle(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent);
  // Exceptions never leave this: the dispatcher hands them to the standard error display.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  static TWindow* FromOwnClassWindow(HWND window);
  void Bind(HWND window, bool ownClass);
  void Unbind();
  static inline int live_ = 0;
  HWND handle_ = nullptr;
  bool ownClass_ = false;
  // The place that TControl::SetCreationBounds gave for the next window, if any.
  std::optional<RECT> creationBounds_;
  TAccessibleLink accessible_;
  friend class TControl;
};

// A child window that a layout creates inside its parent, in the layout's order.
class TControl : public TWindow {
 public:
  virtual void Create(HWND parent) = 0;
  // Where the next Create makes the window, instead of the control's own default place.
  void SetCreationBounds(const RECT& bounds) { creationBounds_ = bounds; }
  // The layout tells a created control the DPI it shows at (when it is not 96, and at every
  // change); controls with pictures take them at that size.
  virtual void SetDpi(int) {}
  // A control that sizes itself to its content keeps its size when a layout places it.
  virtual bool AutoSized() const { return false; }
  // The name a screen reader gives the control, where no caption of its own names it.
  std::wstring AccessibleName;
};

}  // namespace toolkit
