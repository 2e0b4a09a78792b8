#include "controls/Gauges.h"

#include <oleacc.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>
#include <string>
#include <string_view>

#include "runtime/Text.h"
#include "toolkit/Theme.h"

namespace controls {

namespace {

const wchar_t kGaugeClass[] = L"TkGauge";

// A toolkit colour: 0x00BBGGRR, or a system colour with the high bit set and the index below.
COLORREF ColorRef(COLORREF color) {
  return (color & 0x80000000) ? GetSysColor(static_cast<int>(color & 0xFF)) : color;
}

void Fill(HDC dc, const RECT& rect, COLORREF color) {
  toolkit::TBrush brush(CreateSolidBrush(ColorRef(color)));
  FillRect(dc, &rect, brush.Get());
}

// The colours a gauge paints in: its own in the light scheme, the palette's in the others.
struct TGaugeColors {
  COLORREF Frame, Fore, ForeText, Back, BackText, Face;
};

TGaugeColors ColorsOf(toolkit::TScheme scheme, COLORREF fore, COLORREF back, COLORREF face) {
  using toolkit::TRole;
  const auto color = [scheme](TRole role) { return toolkit::Color(scheme, role); };
  if (scheme == toolkit::TScheme::Light)
    return {color(TRole::GaugeFrame),  ColorRef(fore), ColorRef(fore) ^ 0xFFFFFF, ColorRef(back),
            ColorRef(back) ^ 0xFFFFFF, ColorRef(face)};
  return {color(TRole::GaugeFrame), color(TRole::GaugeBar),       color(TRole::GaugeBarText),
          color(TRole::GaugeTrack), color(TRole::GaugeTrackText), color(TRole::Window)};
}

// Round(x): to the nearest integer, ties to even.
int RoundExtended(long double x) {
  return static_cast<int>(std::nearbyintl(x));
}

std::wstring RangeMessage(int low, int high) {
  return L"Wert muß zwischen " + runtime::DecimalText(low) + L" und " + runtime::DecimalText(high) +
         L" liegen";
}

// A percentage, then suffix, into text; returns the length. The bounds keep the percentage from 0
// to 100.
int NumberText(int percent, const wchar_t* suffix, wchar_t (&text)[16]) {
  wchar_t digits[10];
  int count = 0;
  auto magnitude = static_cast<unsigned>(percent);
  do {
    digits[count++] = static_cast<wchar_t>(L'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  int length = 0;
  while (count) text[length++] = digits[--count];
  while (*suffix && length < 15) text[length++] = *suffix++;
  text[length] = L'\0';
  return length;
}

}  // namespace

int PercentOfSpan(long long part, long long span) {
  if (span == 0) return 0;
  return static_cast<int>(part * 100 / span);
}

int ScaleByPercent(int percent, int length) {
  const long double factor = static_cast<long double>(percent) * 0.01L;
  return static_cast<int>(static_cast<long double>(length) * factor);
}

void TBltBitmap::SetSize(int width, int height) {
  select_.reset();
  bitmap_.Reset();
  width_ = width > 0 ? width : 0;
  height_ = height > 0 ? height : 0;
  bitmap_.Reset(toolkit::CreateMemoryImage(width_, height_));
  if (!bitmap_ || !dc_) throw std::bad_alloc();
  select_.emplace(dc_.Get(), bitmap_.Get());
}

void TGauge::Create(HWND parent) {
  // Redrawn whole at every size: the text stays centred.
  RegisterWindowClass(kGaugeClass, IDC_ARROW, nullptr, CS_HREDRAW | CS_VREDRAW);
  CreateHandle(kGaugeClass, L"", WS_CHILD | WS_VISIBLE, 0, RECT{0, 0, 100, 100}, parent);
}

int TGauge::CurrentPercent() const {
  return PercentOfSpan(static_cast<long long>(progress_) - minValue_,
                       static_cast<long long>(maxValue_) - minValue_);
}

void TGauge::Repaint() {
  if (!Handle()) return;
  InvalidateRect(Handle(), nullptr, FALSE);
  UpdateWindow(Handle());
}

toolkit::TAccElement TGauge::AccDescribe(const toolkit::TAccPath&) const {
  toolkit::TAccElement gauge;
  gauge.Role = ROLE_SYSTEM_PROGRESSBAR;
  gauge.Name = AccessibleName;
  wchar_t value[16];
  NumberText(CurrentPercent(), L" %", value);
  gauge.Value = value;
  gauge.State = STATE_SYSTEM_READONLY;
  return gauge;
}

void TGauge::PercentMayHaveChanged(int before) {
  if (CurrentPercent() != before) toolkit::NotifyValueChange(Handle());
}

void TGauge::SetMinValue(int value) {
  if (value == minValue_) return;
  if (value > maxValue_) throw EInvalidOperation(RangeMessage(-INT_MAX, maxValue_ - 1));
  const int before = CurrentPercent();
  minValue_ = value;
  if (progress_ < value) progress_ = value;
  Repaint();
  PercentMayHaveChanged(before);
}

void TGauge::SetMaxValue(int value) {
  if (value == maxValue_) return;
  if (value < minValue_) throw EInvalidOperation(RangeMessage(minValue_ + 1, INT_MAX));
  const int before = CurrentPercent();
  maxValue_ = value;
  if (progress_ > value) progress_ = value;
  Repaint();
  PercentMayHaveChanged(before);
}

void TGauge::SetProgress(int value) {
  const int before = CurrentPercent();
  if (value < minValue_)
    value = minValue_;
  else if (value > maxValue_)
    value = maxValue_;
  if (value == progress_) return;
  progress_ = value;
  if (CurrentPercent() == before) return;
  Repaint();
  PercentMayHaveChanged(before);
}

template <typename T>
static bool Change(T& field, T value) {
  if (field == value) return false;
  field = value;
  return true;
}

void TGauge::SetKind(TGaugeKind kind) {
  if (Change(kind_, kind)) Repaint();
}
void TGauge::SetShowText(bool show) {
  if (Change(showText_, show)) Repaint();
}
void TGauge::SetBorderStyle(TBorderStyle style) {
  if (Change(borderStyle_, style)) Repaint();
}
void TGauge::SetForeColor(COLORREF color) {
  if (Change(foreColor_, color)) Repaint();
}
void TGauge::SetBackColor(COLORREF color) {
  if (Change(backColor_, color)) Repaint();
}
void TGauge::SetColor(COLORREF color) {
  if (Change(color_, color)) Repaint();
}

LRESULT TGauge::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETFONT) textFont_.Reset();
  return TCustomControl::HandleMessage(message, wParam, lParam);
}

HFONT TGauge::TextFont() const {
  if (!textFont_) {
    LOGFONTW face{};
    GetObjectW(Font(), sizeof(face), &face);
    face.lfQuality = NONANTIALIASED_QUALITY;
    textFont_.Reset(CreateFontIndirectW(&face));
  }
  return textFont_.Get();
}

int TGauge::PercentText(wchar_t (&text)[16]) const {
  return NumberText(CurrentPercent(), L"%", text);
}

POINT TGauge::TextOrigin(HDC dc, const wchar_t* text, int length, const RECT& inner, SIZE& extent) const {
  GetTextExtentPoint32W(dc, text, length, &extent);
  return {(inner.right - inner.left + 1 - extent.cx) / 2, (inner.bottom - inner.top + 1 - extent.cy) / 2};
}

void TGauge::Paint(HDC dc, const RECT& client) const {
  if (kind_ == gkPie || kind_ == gkNeedle)
    PaintInverted(dc, client);
  else
    PaintAreas(dc, client);
}

void TGauge::PaintAreas(HDC dc, const RECT& client) const {
  // Under high contrast the system's colours: the bar in the selection's, the rest in the window's,
  // the frame in the window's text colour; dark has colours of its own.
  const toolkit::TScheme scheme = toolkit::CurrentScheme();
  const TGaugeColors colors = ColorsOf(scheme, foreColor_, backColor_, color_);
  RECT inner = client;
  if (borderStyle_ == bsSingle) {
    InflateRect(&inner, -1, -1);
    if (scheme != toolkit::TScheme::Light) {
      Fill(dc, client, colors.Frame);
    } else {
      const int w = client.right, h = client.bottom;
      PatBlt(dc, 0, 0, w, 1, BLACKNESS);
      PatBlt(dc, 0, h - 1, w, 1, BLACKNESS);
      PatBlt(dc, 0, 0, 1, h, BLACKNESS);
      PatBlt(dc, w - 1, 0, 1, h, BLACKNESS);
    }
  }
  const int L = inner.left, T = inner.top, R = inner.right, B = inner.bottom;
  // The filled part and the rest: together they cover the inner area.
  RECT bar{L, T, L, B}, rest = inner;
  if (kind_ == gkHorizontalBar) {
    const int X = std::min(ScaleByPercent(CurrentPercent(), R - L + 1), R);
    bar.right = std::max(X, L);
    rest.left = bar.right;
  } else if (kind_ == gkVerticalBar) {
    const int H = B - T + 1;
    int Y = ScaleByPercent(CurrentPercent(), H);
    if (Y >= H) Y = H - 1;
    bar = RECT{L, std::clamp(H - Y, T, std::max(T, B)), R, B};
    rest.bottom = bar.top;
  }
  wchar_t text[16];
  const int length = showText_ ? PercentText(text) : 0;
  toolkit::TSelectObject font(dc, TextFont());
  // Without text, nothing is drawn at the origin and no area meets the empty text box.
  POINT origin{};
  RECT textBox{};
  if (length > 0) {
    SIZE extent{};
    origin = TextOrigin(dc, text, length, inner, extent);
    // Where glyphs can be, with room for a slanted font's overhang.
    textBox = RECT{origin.x - extent.cy, origin.y, origin.x + extent.cx + extent.cy, origin.y + extent.cy};
  }
  const auto area = [&](const RECT& rect, COLORREF back, COLORREF fore) {
    if (rect.left >= rect.right || rect.top >= rect.bottom) return;
    SetBkColor(dc, back);
    SetTextColor(dc, fore);
    RECT common;
    const UINT drawn = IntersectRect(&common, &rect, &textBox) ? static_cast<UINT>(length) : 0;
    ExtTextOutW(dc, origin.x, origin.y, ETO_OPAQUE | ETO_CLIPPED, &rect, text, drawn, nullptr);
  };
  area(bar, colors.Fore, colors.ForeText);
  area(rest, colors.Back, colors.BackText);
}

void TGauge::PaintInverted(HDC dc, const RECT& client) const {
  const int width = client.right, height = client.bottom;
  if (base_.Width() != width || base_.Height() != height) {
    base_.SetSize(width, height);
    textImage_.SetSize(width, height);
  }
  RECT inner = client;
  if (borderStyle_ == bsSingle) InflateRect(&inner, -1, -1);
  Fill(base_.Canvas(), client, ColorsOf(toolkit::CurrentScheme(), foreColor_, backColor_, color_).Frame);
  DrawStyle(base_.Canvas(), inner, width);
  if (showText_) DrawText(base_, inner);
  BitBlt(dc, 0, 0, width, height, base_.Canvas(), 0, 0, SRCCOPY);
}

void TGauge::DrawStyle(HDC dc, const RECT& inner, int width) const {
  const int L = inner.left, T = inner.top, R = inner.right, B = inner.bottom;
  const int percent = CurrentPercent();
  const TGaugeColors colors = ColorsOf(toolkit::CurrentScheme(), foreColor_, backColor_, color_);
  toolkit::TPen forePen(CreatePen(PS_SOLID, 1, colors.Fore));
  toolkit::TBrush foreBrush(CreateSolidBrush(colors.Fore));
  toolkit::TBrush backBrush(CreateSolidBrush(colors.Back));
  switch (kind_) {
    case gkPie: {
      const int extra = borderStyle_ == bsSingle ? 1 : 0;
      const int W = R - L + extra, H = B - T + extra;
      Fill(dc, inner, colors.Face);
      toolkit::TSelectObject pen(dc, forePen.Get());
      {
        toolkit::TSelectObject brush(dc, backBrush.Get());
        Ellipse(dc, L, T, W, H);
      }
      if (percent <= 0) break;
      toolkit::TSelectObject brush(dc, foreBrush.Get());
      const int hw = W / 2, hh = H / 2;
      const double a = (percent / 50.0 + 0.5) * std::numbers::pi;
      const long double angle = a;
      Pie(dc, L, T, W, H, RoundExtended(hw * (1 - std::cos(angle))),
          RoundExtended(hh * (1 - std::sin(angle))), hw, 0);
      break;
    }
    case gkNeedle: {
      const int extra = borderStyle_ == bsSingle ? 1 : 0;
      const int W = R - L + extra, H = B - T + extra;
      Fill(dc, inner, colors.Face);
      toolkit::TSelectObject pen(dc, forePen.Get());
      {
        toolkit::TSelectObject brush(dc, backBrush.Get());
        Pie(dc, L, T, W, 2 * H - 1, L + W, B - 1, L, B - 1);
      }
      MoveToEx(dc, L, B, nullptr);
      LineTo(dc, L + W, B);
      if (percent <= 0) break;
      const int cx = width / 2;  // of the whole control
      const double a = percent / 100.0 * std::numbers::pi;
      const long double angle = a;
      MoveToEx(dc, cx, B - 1, nullptr);
      LineTo(dc, RoundExtended(cx * (1 - std::cos(angle))), RoundExtended((B - 1) * (1 - std::sin(angle))));
      break;
    }
    default:  // the bars and the text alone are painted by PaintAreas
      break;
  }
}

void TGauge::DrawText(TBltBitmap& base, const RECT& inner) const {
  HDC dc = textImage_.Canvas();
  Fill(dc, RECT{0, 0, base.Width(), base.Height()}, RGB(0, 0, 0));
  toolkit::TSelectObject selected(dc, TextFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  wchar_t text[16];
  const int length = PercentText(text);
  SIZE extent{};
  const POINT origin = TextOrigin(dc, text, length, inner, extent);
  ExtTextOutW(dc, origin.x, origin.y, ETO_CLIPPED, &inner, text, static_cast<UINT>(length), nullptr);
  BitBlt(base.Canvas(), 0, 0, base.Width(), base.Height(), dc, 0, 0, SRCINVERT);
}

}  // namespace controls
