#include "controls/Gauges.h"

#include <cstdio>

#include "toolkit/Handles.h"

namespace controls {

namespace {
const char kGaugeClass[] = "TkGauge";
}

int PercentOfSpan(long long part, long long span) {
  if (span == 0) return 0;
  return static_cast<int>(part * 100 / span);
}

TGauge::TGauge(HWND parent) {
  RegisterWindowClass(kGaugeClass, LoadCursor(nullptr, IDC_ARROW), nullptr);
  CreateHandle(kGaugeClass, "", WS_CHILD | WS_VISIBLE, 0, RECT{0, 0, 100, 100}, parent);
}

int TGauge::CurrentPercent() const {
  return PercentOfSpan(static_cast<long long>(progress_) - minValue_, static_cast<long long>(maxValue_) - minValue_);
}

void TGauge::SetProgress(int value) {
  const int before = CurrentPercent();
  if (value < minValue_)
    value = minValue_;
  else if (value > maxValue_)
    value = maxValue_;
  if (value == progress_) return;
  progress_ = value;
  if (CurrentPercent() != before && Handle()) {
    InvalidateRect(Handle(), nullptr, FALSE);
    UpdateWindow(Handle());
  }
}

void TGauge::Paint(HDC dc, const RECT& client) const {
  tk::TBrush frame(CreateSolidBrush(RGB(0, 0, 0)));
  tk::TBrush back(CreateSolidBrush(BackColor));
  tk::TBrush fore(CreateSolidBrush(ForeColor));
  FillRect(dc, &client, frame.Get());
  RECT inner = client;
  InflateRect(&inner, -1, -1);
  FillRect(dc, &inner, back.Get());
  RECT bar = inner;
  bar.right = inner.left + (inner.right - inner.left) * CurrentPercent() / 100;
  FillRect(dc, &bar, fore.Get());
  char text[16];
  std::snprintf(text, sizeof(text), "%d%%", CurrentPercent());
  SetBkMode(dc, TRANSPARENT);
  tk::TSelectObject font(dc, Font());
  DrawTextA(dc, text, -1, &inner, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

LRESULT TGauge::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      Invalidate();
      return 0;
    default:
      return TCustomControl::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace controls
