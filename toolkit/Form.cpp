#include "toolkit/Form.h"

#include "toolkit/Application.h"

namespace tk {

namespace {
const char kFormClass[] = "TkForm";
}

TShiftState CurrentShiftState() {
  TShiftState state = 0;
  if (GetKeyState(VK_SHIFT) < 0) state |= ssShift;
  if (GetKeyState(VK_MENU) < 0) state |= ssAlt;
  if (GetKeyState(VK_CONTROL) < 0) state |= ssCtrl;
  return state;
}

TForm::TForm(const char* caption, int width, int height)
    : font_(CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif")) {
  RegisterWindowClass(kFormClass, LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                      0, LoadIconA(GetModuleHandleA(nullptr), "MAINICON"));
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  CreateHandle(kFormClass, caption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
               RECT{left, top, left + width, top + height}, nullptr);
}

void TForm::Show() {
  ShowWindow(Handle(), SW_SHOW);
  UpdateWindow(Handle());
}

void TForm::Close() {
  if (Handle()) DestroyWindow(Handle());
}

TForm* TForm::OwningForm(HWND window) {
  if (!window) return nullptr;
  return dynamic_cast<TForm*>(TWindow::FromHandle(GetAncestor(window, GA_ROOT)));
}

void TForm::KeyDown(WORD&, TShiftState) {}

LRESULT TForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      Resized();
      return 0;
    case WM_DESTROY:
      if (Application().MainForm() == this) PostQuitMessage(0);
      return 0;
    default:
      return TWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace tk
