#include "toolkit/PopupMenu.h"

#include <commctrl.h>

#include "runtime/Errors.h"

namespace toolkit {

TPopupMenu::TPopupMenu() : menu_(CreatePopupMenu()) {
  if (!menu_) runtime::ThrowLastError(L"Kontextmenü nicht erstellt");
}

void TPopupMenu::Add(UINT command, const wchar_t* text, bool isDefault) {
  if (!AppendMenuW(menu_.Get(), MF_STRING, command, text))
    runtime::ThrowLastError(L"Menüeintrag nicht erstellt");
  if (isDefault) SetMenuDefaultItem(menu_.Get(), command, FALSE);
}

UINT TPopupMenu::Track(HWND owner, POINT screen) const {
  // The owner must be the foreground window, or the menu would not close when the user clicks elsewhere.
  SetForegroundWindow(owner);
  const UINT command = static_cast<UINT>(TrackPopupMenu(
      menu_.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, screen.x, screen.y, 0, owner, nullptr));
  // Lets the menu's window go, as Windows' documentation of TrackPopupMenu asks.
  PostMessageW(owner, WM_NULL, 0, 0);
  return command;
}

POINT KeyboardMenuPoint(HWND listView) {
  POINT point{0, 0};
  const int item =
      static_cast<int>(SendMessageW(listView, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  RECT bounds{LVIR_ICON, 0, 0, 0};
  if (item >= 0 &&
      SendMessageW(listView, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&bounds)))
    point = {(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
  ClientToScreen(listView, &point);
  return point;
}

}  // namespace toolkit
