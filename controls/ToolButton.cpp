#include "controls/ToolButton.h"

#include <commctrl.h>
#include <oleacc.h>
#include <windowsx.h>

#include <string>
#include <utility>

#include "runtime/Errors.h"
#include "toolkit/Art.h"
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
  toolkit::TBitmap strip = toolkit::LoadArt(glyphResource_, dpi);
  BITMAP info{};
  if (!strip || !GetObjectW(strip.Get(), sizeof(info), &info) || glyphCount_ < 1)
    throw runtime::Exception(std::wstring(L"Schaltflächenbild fehlt: ") + glyphResource_);
  strip_ = std::move(strip);
  glyphSize_ = info.bmWidth / glyphCount_;
  glyphsScheme_.reset();
}

HIMAGELIST TToolButton::Glyphs(toolkit::TScheme scheme) const {
  if (glyphsScheme_ == scheme) return glyphs_.Get();
  BITMAP info{};
  GetObjectW(strip_.Get(), sizeof(info), &info);
  toolkit::TImageList list(
      ImageList_Create(glyphSize_, info.bmHeight, ILC_COLOR24 | ILC_MASK, 2 * glyphCount_, 0));
  for (const toolkit::TRole ink : {toolkit::TRole::Text, toolkit::TRole::GrayText}) {
    const toolkit::TBitmap schemed = toolkit::SchemeArt(strip_.Get(), scheme, ink);
    ImageList_AddMasked(list.Get(), schemed ? schemed.Get() : strip_.Get(), kTransparent);
  }
  glyphs_ = std::move(list);
  glyphsScheme_ = scheme;
  return glyphs_.Get();
}

void TToolButton::SetDpi(int dpi) {
  LoadGlyphs(dpi);
  Invalidate();
}

void TToolButton::ThemeChanged() {
  // The system's colours may be others now, in the same scheme.
  glyphsScheme_.reset();
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
  const toolkit::TScheme scheme = toolkit::CurrentScheme();
  FillRect(dc, &client, toolkit::Brush(scheme, toolkit::TRole::Face));
  if (scheme == toolkit::TScheme::Dark) {
    toolkit::DrawThemedEdge(dc, client, showPressed_ ? EDGE_SUNKEN : EDGE_RAISED);
  } else {
    RECT frame = client;  // DrawFrameControl wants a writable rectangle
    DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (showPressed_ ? DFCS_PUSHED : 0));
  }
  HIMAGELIST glyphs = Glyphs(scheme);
  int height = 0, width = 0;
  ImageList_GetIconSize(glyphs, &width, &height);
  const int offset = showPressed_ ? 1 : 0;
  // A disabled button shows its own disabled image where it has one, in the disabled ink.
  const int image = IsWindowEnabled(Handle()) ? 0 : glyphCount_ + (glyphCount_ >= 2 ? 1 : 0);
  const int x = (client.right - width) / 2 + offset, y = (client.bottom - height) / 2 + offset;
  ImageList_Draw(glyphs, image, dc, x, y, ILD_TRANSPARENT);
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
