#include "controls/ToolButton.h"

#include <commctrl.h>
#include <oleacc.h>
#include <windowsx.h>

#include <string>

#include "runtime/Errors.h"
#include "toolkit/Dpi.h"

namespace controls {

namespace {
const wchar_t kToolButtonClass[] = L"TkToolButton";
const COLORREF kTransparent = RGB(255, 0, 255);
}  // namespace

TToolButton::TToolButton(const wchar_t* glyphResource, int glyphCount)
    : glyphResource_(glyphResource), glyphCount_(glyphCount) {
  LoadGlyphs(toolkit::kDesignDpi);
}

void TToolButton::LoadGlyphs(int dpi) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  toolkit::TBitmap strip(
      static_cast<HBITMAP>(LoadImageW(instance, glyphResource_, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (strip && dpi != toolkit::kDesignDpi) strip.Reset(toolkit::ScaledBitmap(strip.Get(), dpi));
  BITMAP info{};
  if (!strip || !GetObjectW(strip.Get(), sizeof(info), &info) || glyphCount_ < 1)
    throw runtime::Exception(std::wstring(L"Schaltflächenbild fehlt: ") + glyphResource_);
  glyphSize_ = info.bmWidth / glyphCount_;
  glyphs_.Reset(ImageList_Create(glyphSize_, info.bmHeight, ILC_COLOR24 | ILC_MASK, glyphCount_, 0));
  ImageList_AddMasked(glyphs_.Get(), strip.Get(), kTransparent);
}

void TToolButton::SetDpi(int dpi) {
  LoadGlyphs(dpi);
  Invalidate();
}

void TToolButton::Create(HWND parent) {
  RegisterWindowClass(kToolButtonClass, IDC_ARROW, nullptr);
  CreateHandle(kToolButtonClass, L"", WS_CHILD | WS_VISIBLE, 0, RECT{0, 0, 0, 0}, parent);
}

void TToolButton::Click() {
  if (OnClick) OnClick();
}

toolkit::TAccElement TToolButton::AccDescribe(const toolkit::TAccPath&) const {
  toolkit::TAccElement button;
  button.Role = ROLE_SYSTEM_PUSHBUTTON;
  button.Name = AccessibleName;
  button.State = showPressed_ ? STATE_SYSTEM_PRESSED : 0;
  button.DefaultAction = L"Drücken";
  button.Shortcut = Shortcut.c_str();
  return button;
}

bool TToolButton::AccDoDefaultAction(const toolkit::TAccPath&) {
  if (!IsWindowEnabled(Handle())) return false;
  PostMessageW(Handle(), BM_CLICK, 0, 0);
  return true;
}

bool TToolButton::IsPointInside(LPARAM position) const {
  RECT client;
  GetClientRect(Handle(), &client);
  POINT p{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  return PtInRect(&client, p) != FALSE;
}

void TToolButton::SetShowPressed(bool pressed) {
  if (pressed == showPressed_) return;
  showPressed_ = pressed;
  Invalidate();
}

void TToolButton::Paint(HDC dc, const RECT& client) const {
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  RECT frame = client;  // DrawFrameControl wants a writable rectangle
  DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (showPressed_ ? DFCS_PUSHED : 0));
  int height = 0, width = 0;
  ImageList_GetIconSize(glyphs_.Get(), &width, &height);
  const int offset = showPressed_ ? 1 : 0;
  const int image = IsWindowEnabled(Handle()) || ImageList_GetImageCount(glyphs_.Get()) < 2 ? 0 : 1;
  ImageList_Draw(glyphs_.Get(), image, dc, (client.right - width) / 2 + offset,
                 (client.bottom - height) / 2 + offset, ILD_TRANSPARENT);
}

LRESULT TToolButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      pressActive_ = true;
      SetCapture(Handle());
      SetShowPressed(true);
      return 0;
    case WM_MOUSEMOVE:
      if (pressActive_) SetShowPressed(IsPointInside(lParam));
      return 0;
    case WM_LBUTTONUP: {
      const bool click = pressActive_ && IsPointInside(lParam);
      ReleaseCapture();  // ends the press through WM_CAPTURECHANGED
      if (click) Click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      pressActive_ = false;
      SetShowPressed(false);
      return 0;
    case WM_ENABLE:
      Invalidate();
      return 0;
    case BM_CLICK:
      if (IsWindowEnabled(Handle())) Click();
      return 0;
    default:
      return TCustomControl::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace controls
