// What a screen reader learns of the program's own controls. A control that draws itself describes
// itself, and the parts it draws without windows of their own (table rows and cells, the halves of
// the scroller), to one accessible object per window; that object answers the system's
// accessibility interface (IAccessible, asked for with WM_GETOBJECT) from the description.
// The accessibility library is loaded at the first request: the program's start needs none of it.
#pragma once

#include <windows.h>

#include <iterator>
#include <string>
#include <vector>

namespace toolkit {

// One element: the control itself or one of its parts.
struct TAccElement {
  long Role = 0;  // ROLE_SYSTEM_...
  // Whole, as the system gave them.
  std::wstring Name;
  std::wstring Value;
  // STATE_SYSTEM_... of the element's own; the window adds invisible, unavailable, focusable and
  // focused for the control itself.
  unsigned long State = 0;
  const wchar_t* DefaultAction = L"";  // empty: none
  const wchar_t* Shortcut = L"";       // the key that does what the element does, "Strg+C"
  std::wstring Description{};          // what a screen reader reads after the name (a dialog's version)
  // Client coordinates; for the control itself, empty means its client area.
  RECT Bounds{0, 0, 0, 0};
};

// Where an element lies: empty for the control, {part} for a part, {part, subpart} below it; every
// index counts from 0. Two levels are all that a control here has (a table's rows and cells).
struct TAccPath {
  int Depth = 0;
  int Index[2] = {0, 0};

  bool empty() const { return Depth == 0; }
  int size() const { return Depth; }
  int operator[](int level) const { return Index[level]; }
  int Last() const { return Index[Depth - 1]; }
  TAccPath Child(int index) const {
    TAccPath child = *this;
    if (Depth < static_cast<int>(std::size(Index))) child.Index[child.Depth++] = index;
    return child;
  }
  TAccPath Parent() const {
    TAccPath parent = *this;
    if (Depth > 0) parent.Index[--parent.Depth] = 0;
    return parent;
  }
  bool operator==(const TAccPath&) const = default;
};

class TAccessibleSource {
 public:
  // Role 0: the system describes the window.
  virtual TAccElement AccDescribe(const TAccPath&) const { return {}; }
  virtual int AccChildCount(const TAccPath&) const { return 0; }
  // Starts the element's default action (later, from the message loop: a caller from another
  // program must not wait for a dialog); false when it has none.
  virtual bool AccDoDefaultAction(const TAccPath&) { return false; }
  // The element with the keyboard focus while the window has it (a table's current cell); empty:
  // the control itself.
  virtual TAccPath AccFocus() const { return {}; }
  // Whether the control's children are its shown child windows (a panel's buttons, a page's
  // labels), each reached as an accessible object of its own, instead of parts it draws.
  virtual bool AccChildWindows() const { return false; }

 protected:
  ~TAccessibleSource() = default;
};

struct TAccConnection;

// A window's link to its accessible object: the object is made at the first request and cut off
// from the window (its answers fail from then on) when the window goes, whoever still holds it.
class TAccessibleLink {
 public:
  TAccessibleLink() = default;
  TAccessibleLink(const TAccessibleLink&) = delete;
  TAccessibleLink& operator=(const TAccessibleLink&) = delete;
  ~TAccessibleLink() { Disconnect(); }

  // The answer to WM_GETOBJECT: the object for OBJID_CLIENT, 0 (the system's own answer) for any
  // other request.
  LRESULT Answer(HWND window, TAccessibleSource& source, WPARAM wParam, LPARAM lParam);
  void Disconnect();
  // Accessible objects that exist now, in the whole program.
  static int LiveObjects();

 private:
  TAccConnection* connection_ = nullptr;
  IUnknown* root_ = nullptr;
};

// The window's shown child windows in reading order, as they show: line by line from the top, each
// line from the left. The system keeps them in creation order, which is the order a window declares
// its components in, not where they show. A line holds the windows whose tops lie above the middle
// of its highest one. Accessible objects whose children are windows give them in this order.
std::vector<HWND> ReadingOrder(HWND window);

// Tells screen readers that the value of a window's control changed (a gauge's percentage).
void NotifyValueChange(HWND window);

// The child id by which the control's accessible object names an element in events and in
// accFocus: a part by its number from 1, a part's part (a table's cell) by an id above 0x10000.
LONG AccChildId(const TAccPath& path);
// Tells screen readers that the element has the focus and is selected (a table's current cell).
void NotifyFocus(HWND window, const TAccPath& path);
// Tells screen readers that the element's name changed (a cell's text).
void NotifyNameChange(HWND window, const TAccPath& path);

// A label's text as a name: without line breaks and the blanks around them.
std::wstring OneLine(const std::wstring& text);

}  // namespace toolkit
