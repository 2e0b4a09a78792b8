// The percentage gauge: shows where Progress lies between MinValue and MaxValue as a bar with its
// whole-number percentage.
#pragma once

#include <windows.h>

#include "toolkit/CustomControl.h"

namespace controls {

// part * 100 / span, truncated toward zero; 0 when span is 0.
int PercentOfSpan(long long part, long long span);

class TGauge : public tk::TCustomControl {
 public:
  explicit TGauge(HWND parent);
  int MinValue() const { return minValue_; }
  int MaxValue() const { return maxValue_; }
  int Progress() const { return progress_; }
  // Kept within MinValue .. MaxValue; repaints only when the whole-number percentage changes.
  void SetProgress(int value);
  int CurrentPercent() const;
  COLORREF ForeColor = RGB(0, 0, 0);
  COLORREF BackColor = RGB(255, 255, 255);

 protected:
  void Paint(HDC dc, const RECT& client) const override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:

  int minValue_ = 0;
  int maxValue_ = 100;
  int progress_ = 0;
};

}  // namespace controls
