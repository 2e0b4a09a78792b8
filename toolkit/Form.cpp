#include "toolkit/Form.h"

#include <oleacc.h>

#include <algorithm>

#include "toolkit/Application.h"
#include "toolkit/Dpi.h"
#include "toolkit/Theme.h"

namespace toolkit {

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace {
const wchar_t kFormClass[] = L"TkForm";

BOOL CALLBACK ThemeChangedIn(HWND window, LPARAM) {
  if (TWindow* object = TWindow::FromHandle(window)) object->ThemeChanged();
  return TRUE;
}

BOOL CALLBACK ThemeChangedInOwned(HWND popup, LPARAM owner) {
  if (GetWindow(popup, GW_OWNER) == reinterpret_cast<HWND>(owner)) ThemeChangedIn(popup, 0);
  return TRUE;
}

BOOL CALLBACK ForwardColorChange(HWND child, LPARAM) {
  SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
  return TRUE;
}

// The form, its child windows and the pop-ups it owns (tool tips) take the scheme's colours, then
// all of them paint anew.
void ApplyTheme(HWND form) {
  ThemeChangedIn(form, 0);
  EnumChildWindows(form, ThemeChangedIn, 0);
  EnumThreadWindows(GetCurrentThreadId(), ThemeChangedInOwned, reinterpret_cast<LPARAM>(form));
  RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}
}  // namespace

RECT CentredIn(SIZE size, const RECT& work) {
  const LONG width = std::min(size.cx, work.right - work.left),
             height = std::min(size.cy, work.bottom - work.top);
  const LONG left = work.left + (work.right - work.left - width) / 2,
             top = work.top + (work.bottom - work.top - height) / 2;
  return RECT{left, top, left + width, top + height};
}

RECT WorkAreaOf(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  const HMONITOR on = window ? MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY)
                             : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
  if (!GetMonitorInfoW(on, &monitor))
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return monitor.rcWork;
}

TShiftState CurrentShiftState() {
  TShiftState state = 0;
  if (GetKeyState(VK_SHIFT) < 0) state |= ssShift;
  if (GetKeyState(VK_MENU) < 0) state |= ssAlt;
  if (GetKeyState(VK_CONTROL) < 0) state |= ssCtrl;
  return state;
}

TForm::TForm(const TFormSettings& settings, HWND owner)
    : settings_(settings), owner_(owner), font_(CreateFontOf(settings.Font)) {}

void TForm::Create() {
  RegisterWindowClass(kFormClass, IDC_ARROW, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), 0, L"MAINICON");
  DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  DWORD exStyle = WS_EX_CONTROLPARENT;
  // The window opens on the primary screen: its DPI until the window knows its own.
  SetDpi(ScreenDpi());
  if (settings_.Border == TFormBorder::Dialog) {
    style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    exStyle |= WS_EX_DLGMODALFRAME;
  }
  // The client area is what the layout fills: it scales, the frame takes the size it has at the
  // DPI and in the system's frame style (Windows 10 frames are thicker than the classic ones).
  const int clientWidth = settings_.Width, clientHeight = settings_.Height;
  RECT outer{0, 0, Scale(clientWidth, dpi_), Scale(clientHeight, dpi_)};
  AdjustWindowRectForDpi(outer, style, exStyle, dpi_);
  // Inside the work area, which a large scaling on a small screen may make smaller than the window.
  const RECT place = CentredIn({outer.right - outer.left, outer.bottom - outer.top}, WorkAreaOf(owner_));
  CreateHandle(kFormClass, settings_.Caption, style, exStyle, place, owner_);
  SetDpi(WindowDpi(Handle()));
  ThemeChanged();
}

void TForm::ThemeChanged() {
  const bool dark = CurrentScheme() == TScheme::Dark;
  if (dark != darkFrame_) SetDarkFrame(Handle(), dark);
  darkFrame_ = dark;
}

void TForm::SetDpi(int dpi) {
  if (dpi == dpi_ && font_) return;
  dpi_ = dpi;
  font_ = CreateFontOf(settings_.Font, dpi);
}

TAccElement TForm::AccDescribe(const TAccPath&) const {
  TAccElement form;
  form.Role = ROLE_SYSTEM_CLIENT;
  const int length = GetWindowTextLengthW(Handle());
  std::wstring caption(static_cast<size_t>(length) + 1, L'\0');
  caption.resize(static_cast<size_t>(GetWindowTextW(Handle(), caption.data(), length + 1)));
  form.Name = caption;
  return form;
}

void TForm::Show() {
  BeforeShow();
  ShowWindow(Handle(), SW_SHOW);
  UpdateWindow(Handle());
  if (ActiveControl) SetFocus(ActiveControl);
}

int TForm::ShowModal() {
  if (!Handle()) Create();
  ModalResult = 0;
  const bool ownerWasEnabled = owner_ && IsWindowEnabled(owner_);
  if (ownerWasEnabled) EnableWindow(owner_, FALSE);
  modal_ = true;
  Show();
  Application().RunModalLoop([this] { return ModalResult != 0 || !Handle(); });
  modal_ = false;
  // The owner is enabled before the form hides, so that it, not another program, becomes active.
  if (ownerWasEnabled) EnableWindow(owner_, TRUE);
  if (Handle()) ShowWindow(Handle(), SW_HIDE);
  return ModalResult;
}

void TForm::Close() {
  if (modal_)
    ModalResult = IDCANCEL;
  else if (Handle())
    DestroyWindow(Handle());
}

TForm* TForm::OwningForm(HWND window) {
  if (!window) return nullptr;
  return dynamic_cast<TForm*>(TWindow::FromHandle(GetAncestor(window, GA_ROOT)));
}

void TForm::KeyDown(WORD&, TShiftState) {}
void TForm::KeyPress(wchar_t&) {}

LRESULT TForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      Resized();
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_GETMINMAXINFO: {
      if (!settings_.MinWidth && !settings_.MinHeight) return TWindow::HandleMessage(message, wParam, lParam);
      RECT least{0, 0, Scale(settings_.MinWidth, dpi_), Scale(settings_.MinHeight, dpi_)};
      AdjustWindowRectForDpi(least, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)),
                             static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)), dpi_);
      auto& limits = *reinterpret_cast<MINMAXINFO*>(lParam);
      limits.ptMinTrackSize = {least.right - least.left, least.bottom - least.top};
      return 0;
    }
    case WM_DPICHANGED: {
      // The size that Windows suggests, then the components' fonts and sizes for it.
      SetDpi(HIWORD(wParam));
      const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
      DpiChanged();
      return 0;
    }
    case WM_COMMAND:
      // Enter, Esc and the OK button, as the dialog manager reports them, end a modal form.
      if (modal_ && HIWORD(wParam) == BN_CLICKED && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        ModalResult = LOWORD(wParam);
        return 0;
      }
      return TWindow::HandleMessage(message, wParam, lParam);
    case WM_ACTIVATE: {
      // The control that had the focus gets it back when the form is active again (after a dialog
      // or another window of the program closes), as in a dialog box.
      HWND focus = GetFocus();
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
        return 0;
      }
      if (lastFocus_ && IsChild(Handle(), lastFocus_) && IsWindowVisible(lastFocus_) && !HIWORD(wParam)) {
        SetFocus(lastFocus_);
        return 0;
      }
      return TWindow::HandleMessage(message, wParam, lParam);
    }
    case WM_DESTROY:
      if (Application().MainForm() == this) PostQuitMessage(0);
      return 0;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
      // The common controls keep the system's colours until they are told, which the system tells
      // only the top-level windows.
      if (message == WM_SYSCOLORCHANGE) EnumChildWindows(Handle(), ForwardColorChange, 0);
      // Another app mode or colour set (high contrast included): every window of the form repaints.
      if (IsColorSetChange(message, lParam) || wParam == SPI_SETHIGHCONTRAST) {
        ReadAppMode();
        ApplyTheme(Handle());
      }
      return TWindow::HandleMessage(message, wParam, lParam);
    case WM_NOTIFY: {
      auto& header = *reinterpret_cast<NMHDR*>(lParam);
      TWindow* from = header.code == NM_CUSTOMDRAW ? TWindow::FromHandle(header.hwndFrom) : nullptr;
      if (from) return from->CustomDraw(reinterpret_cast<NMCUSTOMDRAW&>(header));
      return TWindow::HandleMessage(message, wParam, lParam);
    }
    default:
      return TWindow::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace toolkit
