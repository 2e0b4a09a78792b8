#include "controls/Tabs.h"

#include <oleacc.h>
#include <windowsx.h>

#include <string>
#include <utility>

#include "runtime/Text.h"
#include "toolkit/Theme.h"

namespace controls {

namespace {
const wchar_t kScrollerClass[] = L"TkScroller";
// Posted by a screen reader's default action on a half: wParam 0 the left, 1 the right half.
const UINT kStepMessage = WM_USER + 1;
}  // namespace

void TScroller::Create(HWND parent) {
  RegisterWindowClass(kScrollerClass, IDC_ARROW, nullptr, CS_DBLCLKS);
  CreateHandle(kScrollerClass, L"", WS_CHILD | WS_VISIBLE, 0, RECT{0, 0, PairWidth - 1, PairHeight}, parent);
}

void TScroller::SetMin(int value) {
  if (value < max_) min_ = value;
}

void TScroller::SetMax(int value) {
  if (value > min_) max_ = value;
}

void TScroller::SetPosition(int value) {
  if (value == position_) return;
  if (value < min_) value = min_;
  if (value > max_) value = max_;
  const bool moved = value != position_;
  position_ = value;
  Invalidate();
  // A screen reader hears the new value ("3 von 17").
  if (moved) toolkit::NotifyValueChange(Handle());
  if (OnClick) OnClick(*this);
}

toolkit::TAccElement TScroller::AccDescribe(const toolkit::TAccPath& path) const {
  toolkit::TAccElement element;
  if (path.empty()) {
    element.Role = ROLE_SYSTEM_SPINBUTTON;
    element.Name = AccessibleName;
    element.Value =
        runtime::DecimalText(position_ - min_ + 1) + L" von " + runtime::DecimalText(max_ - min_ + 1);
    return element;
  }
  const THalf half = path[0] == 0 ? THalf::Left : THalf::Right;
  element.Role = ROLE_SYSTEM_PUSHBUTTON;
  element.Name = half == THalf::Left ? L"Vorherige Seite" : L"Nächste Seite";
  element.State = CanScroll(half) ? 0 : STATE_SYSTEM_UNAVAILABLE;
  if (showPressed_ && pressedHalf_ == half) element.State |= STATE_SYSTEM_PRESSED;
  element.DefaultAction = L"Drücken";
  element.Bounds = HalfRect(half);
  return element;
}

bool TScroller::AccDoDefaultAction(const toolkit::TAccPath& path) {
  if (path.empty() || !CanScroll(path[0] == 0 ? THalf::Left : THalf::Right)) return false;
  PostMessageW(Handle(), kStepMessage, static_cast<WPARAM>(path[0]), 0);
  return true;
}

void TScroller::Step(THalf half) {
  if (CanScroll(half)) SetPosition(half == THalf::Left ? position_ - Change : position_ + Change);
}

RECT TScroller::HalfRect(THalf half) const {
  const int left = half == THalf::Left ? 0 : HalfWidth() - Overlap();
  return RECT{left, 0, left + HalfWidth(), height_};
}

void TScroller::SetDpi(int dpi) {
  dpi_ = dpi;
  BITMAP info{};
  const toolkit::TBitmap arrow = toolkit::LoadArt(L"SBLEFT", dpi);
  if (arrow && GetObjectW(arrow.Get(), sizeof(info), &info)) {
    halfWidth_ = info.bmWidth;
    height_ = info.bmHeight;
  }
  SetWindowPos(Handle(), nullptr, 0, 0, PairSize().cx, PairSize().cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Invalidate();
}

void TScroller::DrawHalf(HDC dc, THalf half) const {
  const bool left = half == THalf::Left;
  const wchar_t* name = !CanScroll(half)                       ? (left ? L"SBLEFTDIS" : L"SBRIGHTDIS")
                        : showPressed_ && pressedHalf_ == half ? (left ? L"SBLEFTDN" : L"SBRIGHTDN")
                                                               : (left ? L"SBLEFT" : L"SBRIGHT");
  image_ = toolkit::LoadArt(name, dpi_);
  if (!image_) return;
  // Under high contrast a half that cannot scroll is all in the disabled text colour.
  if (toolkit::TBitmap schemed =
          toolkit::SchemeArt(image_.Get(), toolkit::CurrentScheme(),
                             CanScroll(half) ? toolkit::TRole::Text : toolkit::TRole::GrayText))
    image_ = std::move(schemed);
  toolkit::TMemoryDC source(CreateCompatibleDC(dc));
  toolkit::TSelectObject selected(source.Get(), image_.Get());
  const RECT place = HalfRect(half);
  BitBlt(dc, place.left, 0, HalfWidth(), height_, source.Get(), 0, 0, SRCCOPY);
}

void TScroller::Paint(HDC dc, const RECT& client) const {
  FillRect(dc, &client, toolkit::Brush(toolkit::TRole::Face));
  DrawHalf(dc, THalf::Left);
  // The right image's outline covers the left one's where they overlap.
  DrawHalf(dc, THalf::Right);
}

void TScroller::Press(int x) {
  pressedHalf_ = x < HalfWidth() ? THalf::Left : THalf::Right;
  if (!CanScroll(pressedHalf_)) return;
  pressActive_ = true;
  showPressed_ = true;
  Invalidate();
  SetCapture(Handle());
}

void TScroller::Move(int x, int y) {
  if (!pressActive_) return;
  // The halves as a press tells them apart, without their overlap.
  const RECT half = pressedHalf_ == THalf::Left ? RECT{0, 0, HalfWidth(), height_}
                                                : RECT{HalfWidth(), 0, 2 * HalfWidth(), height_};
  const bool inside = PtInRect(&half, POINT{x, y}) != FALSE;
  if (inside != showPressed_) {
    showPressed_ = inside;
    Invalidate();
  }
}

void TScroller::Release() {
  const bool step = pressActive_ && showPressed_;
  ReleaseCapture();  // ends the press through WM_CAPTURECHANGED
  EndPress();
  if (step) SetPosition(pressedHalf_ == THalf::Left ? position_ - Change : position_ + Change);
}

void TScroller::EndPress() {
  pressActive_ = false;
  if (showPressed_) {
    showPressed_ = false;
    Invalidate();
  }
}

LRESULT TScroller::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      // Whatever size it is given, the scroller keeps the size of its two images.
      if (LOWORD(lParam) != PairSize().cx || HIWORD(lParam) != PairSize().cy)
        SetWindowPos(Handle(), nullptr, 0, 0, PairSize().cx, PairSize().cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      Press(static_cast<short>(GET_X_LPARAM(lParam)));
      return 0;
    case WM_MOUSEMOVE:
      Move(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
      Release();
      return 0;
    case WM_CAPTURECHANGED:
      // A lost capture ends the press without a step.
      EndPress();
      return 0;
    case kStepMessage:
      Step(wParam == 0 ? THalf::Left : THalf::Right);
      return 0;
    default:
      return TCustomControl::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace controls
