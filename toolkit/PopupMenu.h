// A context menu: entries added in order, shown at a point of the screen until the user picks one
// or leaves it (TrackPopupMenu, which runs its own message loop meanwhile).
#pragma once

#include <windows.h>

#include "runtime/Handles.h"

namespace toolkit {

class TPopupMenu {
 public:
  TPopupMenu();
  // An entry with its command id (not 0); the default one is shown in bold and taken by a double-click.
  void Add(UINT command, const wchar_t* text, bool isDefault = false);
  // Shows the menu for owner with its top left corner at the screen point; returns the chosen
  // command, or 0 when none was chosen.
  UINT Track(HWND owner, POINT screen) const;

 private:
  runtime::TUniqueHandle<HMENU, DestroyMenu> menu_;
};

// Where a context menu asked for by the keyboard opens (WM_CONTEXTMENU's point is -1, -1): at the
// list view's selected item, or at its top left corner when none is selected; in screen coordinates.
POINT KeyboardMenuPoint(HWND listView);

// Whether WM_CONTEXTMENU's point says that the keyboard asked for the menu (Shift+F10, the menu key).
inline bool IsKeyboardMenuPoint(LPARAM point) {
  return point == static_cast<LPARAM>(-1) || (LOWORD(point) == 0xFFFF && HIWORD(point) == 0xFFFF);
}

}  // namespace toolkit
