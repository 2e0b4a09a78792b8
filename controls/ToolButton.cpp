#include "controls/ToolButton.h"

#include <commctrl.h>
#include <oleacc.h>
#include <windowsx.h>

#include <string>
#include <utility>

#include "runtime/Errors.h"
#include "toolkit/Dpi.h"
#include "toolkit/Theme.h"

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
  if (toolkit::TBitmap dark = toolkit::DarkArt(strip.Get())) strip = std::move(dark);
  dpi_ = dpi;
  BITMAP info{};
  if (!strip || !GetObjectW(strip.Get(), sizeof(info), &info) || glyphCount_ < 1)
    throw runtime::Exception(std::wstring(L"Schaltflächenbild fehlt: ") + glyphResource_);
  glyphSize_ = info.bmWidth / glyphCount_;
  // The glyphs' shapes for high contrast: 0 where a glyph is, 1 where its transparent colour is (the
  // system's conversion to one bit per pixel, against that colour as the background).
  toolkit::TBitmap mask(CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr));
  {
    toolkit::TMemoryDC from(CreateCompatibleDC(nullptr)), to(CreateCompatibleDC(nullptr));
    toolkit::TSelectObject source(from.Get(), strip.Get()), target(to.Get(), mask.Get());
    SetBkColor(from.Get(), kTransparent);
    BitBlt(to.Get(), 0, 0, info.bmWidth, info.bmHeight, from.Get(), 0, 0, SRCCOPY);
  }
  glyphMask_ = std::move(mask);
  glyphs_.Reset(ImageList_Create(glyphSize_, info.bmHeight, ILC_COLOR24 | ILC_MASK, glyphCount_, 0));
  ImageList_AddMasked(glyphs_.Get(), strip.Get(), kTransparent);
}

void TToolButton::SetDpi(int dpi) {
  LoadGlyphs(dpi);
  Invalidate();
}

void TToolButton::ThemeChanged() {
  LoadGlyphs(dpi_);
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
  const toolkit::TScheme scheme = toolkit::CurrentScheme();
  FillRect(dc, &client, toolkit::Brush(scheme, toolkit::TRole::Face));
  if (scheme == toolkit::TScheme::Dark) {
    toolkit::DrawThemedEdge(dc, client, showPressed_ ? EDGE_SUNKEN : EDGE_RAISED);
  } else {
    RECT frame = client;  // DrawFrameControl wants a writable rectangle
    DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (showPressed_ ? DFCS_PUSHED : 0));
  }
  int height = 0, width = 0;
  ImageList_GetIconSize(glyphs_.Get(), &width, &height);
  const int offset = showPressed_ ? 1 : 0;
  const int image = IsWindowEnabled(Handle()) || ImageList_GetImageCount(glyphs_.Get()) < 2 ? 0 : 1;
  const int x = (client.right - width) / 2 + offset, y = (client.bottom - height) / 2 + offset;
  if (scheme != toolkit::TScheme::HighContrast) {
    ImageList_Draw(glyphs_.Get(), image, dc, x, y, ILD_TRANSPARENT);
    return;
  }
  // Under high contrast the glyph's shape in the button's text colour (grey when disabled), which
  // the scheme keeps readable on the button's face; its own colours may vanish there.
  toolkit::TMemoryDC mask(CreateCompatibleDC(dc));
  toolkit::TSelectObject maskBitmap(mask.Get(), glyphMask_.Get());
  toolkit::TSelectObject brush(
      dc,
      toolkit::Brush(scheme, IsWindowEnabled(Handle()) ? toolkit::TRole::Text : toolkit::TRole::GrayText));
  const COLORREF text = SetTextColor(dc, RGB(0, 0, 0)), back = SetBkColor(dc, RGB(255, 255, 255));
  // Where the mask is 0 (the glyph) the brush, elsewhere the face as it is (PSDPxax).
  BitBlt(dc, x, y, width, height, mask.Get(), image * glyphSize_, 0, 0x00B8074A);
  SetTextColor(dc, text);
  SetBkColor(dc, back);
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
