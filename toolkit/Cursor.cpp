#include "toolkit/Cursor.h"

#include <windows.h>

namespace toolkit {

namespace {
TCursor screenCursor = TCursor::Default;
}

TCursor ScreenCursor() {
  return screenCursor;
}

void SetScreenCursor(TCursor cursor) {
  screenCursor = cursor;
  if (cursor == TCursor::HourGlass) {
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  } else {
    // Let the window under the pointer set its own cursor again.
    POINT p;
    GetCursorPos(&p);
    SetCursorPos(p.x, p.y);
  }
}

}  // namespace toolkit
