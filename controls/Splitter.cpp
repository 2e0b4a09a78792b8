#include "controls/Splitter.h"

#include <oleacc.h>

namespace controls {

namespace {
const wchar_t kSplitterClass[] = L"TkSplitter";

int ScreenX() {
  POINT p;
  GetCursorPos(&p);
  return p.x;
}
}  // namespace

toolkit::TAccElement TSplitter::AccDescribe(const toolkit::TAccPath&) const {
  toolkit::TAccElement bar;
  bar.Role = ROLE_SYSTEM_SEPARATOR;
  bar.Name = AccessibleName.empty() ? L"Trennlinie" : AccessibleName;
  return bar;
}

void TSplitter::Create(HWND parent) {
  RegisterWindowClass(kSplitterClass, IDC_SIZEWE, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  CreateHandle(kSplitterClass, L"", WS_CHILD | WS_VISIBLE, 0, RECT{0, 0, 0, 0}, parent);
}

LRESULT TSplitter::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      dragging_ = true;
      lastScreenX_ = ScreenX();
      SetCapture(Handle());
      return 0;
    case WM_MOUSEMOVE:
      // Screen coordinates: the splitter itself moves while it is dragged.
      if (dragging_ && OnMove) {
        const int x = ScreenX();
        lastScreenX_ += OnMove(x - lastScreenX_);
      }
      return 0;
    case WM_LBUTTONUP:
      ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return 0;
    default:
      return TWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace controls
