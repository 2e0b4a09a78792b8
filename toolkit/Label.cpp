#include "toolkit/Label.h"

#include <oleacc.h>
#include <windowsx.h>

#include "toolkit/Handles.h"
#include "toolkit/Theme.h"

namespace toolkit {

namespace {
const wchar_t kLabelClass[] = L"TkLabel";
// Posted by a screen reader's default action: opens the label from the message loop.
const UINT kOpenMessage = WM_USER + 1;
}  // namespace

COLORREF DrawnColor(COLORREF color) {
  if (color == kLinkTextColor) return Color(TRole::Link);
  if (color == kButtonTextColor) return Color(TRole::Text);
  if (color & 0x80000000) return GetSysColor(static_cast<int>(color & 0xFF));
  return color;
}

std::wstring WithDrawableLineBreaks(const std::wstring& text) {
  std::wstring result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    result += text[i];
    if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) result += '\n';
  }
  return result;
}

TLabel::TLabel(TLabelSettings settings)
    : settings_(std::move(settings)), drawnCaption_(WithDrawableLineBreaks(settings_.Caption)) {}

void TLabel::Create(HWND parent) {
  RegisterWindowClass(kLabelClass, nullptr, nullptr, CS_DBLCLKS);
  CreateHandle(kLabelClass, L"", WS_CHILD | (settings_.Visible ? WS_VISIBLE : 0), 0, RECT{0, 0, 0, 0},
               parent);
  FitToText();
  UpdateTip();
}

void TLabel::SetCaption(std::wstring caption) {
  settings_.Caption = std::move(caption);
  drawnCaption_ = WithDrawableLineBreaks(settings_.Caption);
  FitToText();
  Invalidate();
}

void TLabel::SetVisible(bool visible) {
  settings_.Visible = visible;
  if (Handle()) ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
}

void TLabel::AlignToParent() {
  settings_.AutoSize = false;
  if (!Handle()) return;
  RECT client;
  GetClientRect(GetParent(Handle()), &client);
  MoveWindow(Handle(), 0, 0, client.right, client.bottom, TRUE);
}

void TLabel::SetTabStop(bool tabStop) {
  if (!Handle()) return;
  LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
  style = tabStop ? style | WS_TABSTOP : style & ~static_cast<LONG_PTR>(WS_TABSTOP);
  SetWindowLongPtrW(Handle(), GWL_STYLE, style);
}

void TLabel::Open() {
  if (OnClick)
    OnClick(*this);
  else if (OnDblClick)
    OnDblClick(*this);
}

TAccElement TLabel::AccDescribe(const TAccPath&) const {
  TAccElement label;
  label.Name = OneLine(settings_.Caption);
  if (Opens()) {
    label.Role = ROLE_SYSTEM_LINK;
    label.Value = hint_.empty() ? settings_.Caption : hint_;
    label.State = STATE_SYSTEM_LINKED;
    label.DefaultAction = L"Öffnen";
  } else {
    label.Role = ROLE_SYSTEM_STATICTEXT;
    label.State = STATE_SYSTEM_READONLY;
  }
  // What the tool tip shows a mouse user (a file's whole path) a screen reader reads after the name.
  if (showHint_) label.Description = hint_;
  return label;
}

bool TLabel::AccDoDefaultAction(const TAccPath&) {
  if (!Opens()) return false;
  PostMessageW(Handle(), kOpenMessage, 0, 0);
  return true;
}

void TLabel::SetHint(std::wstring hint) {
  hint_ = std::move(hint);
  UpdateTip();
}

void TLabel::SetShowHint(bool show) {
  showHint_ = show;
  UpdateTip();
}

void TLabel::UpdateTip() {
  if (!Handle() || !showHint_) return;
  tip_.Create(GetAncestor(Handle(), GA_ROOT));  // only names the owner; the tip comes at the first hover
  tip_.Set(Handle(), hint_);
}

void TLabel::FitToText() {
  if (!Handle() || !settings_.AutoSize) return;
  RECT bounds;
  GetWindowRect(Handle(), &bounds);
  MapWindowPoints(HWND_DESKTOP, GetParent(Handle()), reinterpret_cast<POINT*>(&bounds), 2);
  const TWindowDC screen;
  const TSelectObject font(screen.Get(), Font());
  RECT text{0, 0, settings_.WordWrap ? bounds.right - bounds.left : 0, 0};
  const std::wstring& caption = drawnCaption_;
  // An empty caption keeps the height of one line.
  DrawTextW(screen.Get(), caption.empty() ? L" " : caption.c_str(), -1, &text,
            DT_CALCRECT | DT_NOPREFIX | (settings_.WordWrap ? DT_WORDBREAK : 0));
  if (caption.empty()) text.right = 0;
  MoveWindow(Handle(), bounds.left, bounds.top, text.right, text.bottom, TRUE);
}

void TLabel::Paint(HDC dc, const RECT& client) const {
  // A transparent label shows its parent's face, which is the button face on every parent here.
  FillRect(dc, &client, Brush(TRole::Face));
  TSelectObject font(dc, Font());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, DrawnColor(settings_.TextColor));
  RECT text = client;
  const std::wstring& caption = drawnCaption_;
  DrawTextW(dc, caption.c_str(), -1, &text,
            DT_NOPREFIX | (settings_.WordWrap ? DT_WORDBREAK : 0) |
                (settings_.Alignment == TTextAlign::Center ? DT_CENTER : DT_LEFT));
  if (GetFocus() == Handle() && !(SendMessageW(Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
    SetTextColor(dc, Color(TRole::Text));
    SetBkColor(dc, Color(TRole::Face));
    DrawFocusRect(dc, &client);
  }
}

LRESULT TLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, Cursor == TCursorShape::HandPoint ? IDC_HAND : IDC_ARROW));
      return TRUE;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      return 0;
    case WM_LBUTTONUP: {
      const bool click = pressed_;
      pressed_ = false;
      RECT client;
      GetClientRect(Handle(), &client);
      if (click && PtInRect(&client, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) && OnClick)
        OnClick(*this);
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      if (OnDblClick) OnDblClick(*this);
      return 0;
    case WM_GETDLGCODE: {
      // Enter reaches a label that opens something, instead of the dialog's default button.
      const auto* key = reinterpret_cast<const MSG*>(lParam);
      if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN && Opens()) return DLGC_WANTMESSAGE;
      return 0;
    }
    case WM_KEYDOWN:
      if ((wParam == VK_RETURN || wParam == VK_SPACE) && Opens()) Open();
      return 0;
    case kOpenMessage:
      Open();
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
      Invalidate();
      return TCustomControl::HandleMessage(message, wParam, lParam);
    case WM_SETFONT: {
      const LRESULT result = TCustomControl::HandleMessage(message, wParam, lParam);
      FitToText();
      return result;
    }
    default:
      return TCustomControl::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace toolkit
