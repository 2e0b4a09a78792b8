// The percentage gauge: shows where Progress lies between MinValue and MaxValue as a whole-number
// percentage, drawn as text, a horizontal or vertical bar, a pie or a half-dial needle, with the
// percentage printed over the drawing in inverted colours.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "runtime/Errors.h"
#include "toolkit/CustomControl.h"
#include "toolkit/Handles.h"

namespace controls {

// part * 100 / span, truncated toward zero, without loss; 0 when span is 0.
int PercentOfSpan(long long part, long long span);

// length * (percent * 0.01) in x87 extended precision, truncated toward zero. The extended
// constant lies just below 0.01, so some whole products lose one: 10 % of 100 is 9.
int ScaleByPercent(int percent, int length);

// A blank off-screen image with a canvas of its own (32 bits a pixel, so that colours are exact).
class TBltBitmap {
 public:
  TBltBitmap() = default;
  TBltBitmap(const TBltBitmap&) = delete;
  TBltBitmap& operator=(const TBltBitmap&) = delete;

  void SetSize(int width, int height);
  HDC Canvas() const { return dc_.Get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  int width_ = 0;
  int height_ = 0;
  toolkit::TMemoryDC dc_{CreateCompatibleDC(nullptr)};
  toolkit::TBitmap bitmap_;
  // Declared last, so that the DC gets its own bitmap back before the image is freed.
  std::optional<toolkit::TSelectObject> select_;
};

enum TGaugeKind : std::uint8_t { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };
enum TBorderStyle { bsNone, bsSingle };

using runtime::EInvalidOperation;

class TGauge : public toolkit::TCustomControl {
 public:
  void Create(HWND parent) override;

  int MinValue() const { return minValue_; }
  int MaxValue() const { return maxValue_; }
  int Progress() const { return progress_; }
  TGaugeKind Kind() const { return kind_; }
  bool ShowText() const { return showText_; }
  TBorderStyle BorderStyle() const { return borderStyle_; }
  COLORREF ForeColor() const { return foreColor_; }
  COLORREF BackColor() const { return backColor_; }
  // Used by the pie and needle styles outside the ellipse: the system window colour by default.
  COLORREF Color() const { return color_; }

  // Raise EInvalidOperation when the bound would cross the other one; a bound moved past
  // Progress takes Progress along. Both repaint at once.
  void SetMinValue(int value);
  void SetMaxValue(int value);
  // Kept within MinValue .. MaxValue; repaints only when the whole-number percentage changes.
  void SetProgress(int value);
  // These repaint at once when the value changes.
  void SetKind(TGaugeKind kind);
  void SetShowText(bool show);
  void SetBorderStyle(TBorderStyle style);
  void SetForeColor(COLORREF color);
  void SetBackColor(COLORREF color);
  void SetColor(COLORREF color);

  int CurrentPercent() const;

 protected:
  void Paint(HDC dc, const RECT& client) const override;
  // Every pixel is drawn once (or the picture is copied in one piece): no buffer needed.
  bool DrawsWithoutFlicker() const override { return true; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // A progress bar whose value is the percentage it shows ("72 %").
  toolkit::TAccElement AccDescribe(const toolkit::TAccPath& path) const override;
  // Repaints, and tells screen readers of the new percentage, when it is no longer before.
  void PercentMayHaveChanged(int before);
  void Repaint();
  // Text and bar styles: the frame, then each area with the percentage over it in one text output
  // whose colours are the inverse of the area's.
  void PaintAreas(HDC dc, const RECT& client) const;
  // Pie and needle: the drawing, then the percentage inverted over it through an image of the text.
  void PaintInverted(HDC dc, const RECT& client) const;
  void DrawStyle(HDC dc, const RECT& inner, int width) const;  // pie or needle
  void DrawText(TBltBitmap& base, const RECT& inner) const;
  // The percentage text, and where it starts centred in inner (its extent measured on the way).
  int PercentText(wchar_t (&text)[16]) const;
  POINT TextOrigin(HDC dc, const wchar_t* text, int length, const RECT& inner, SIZE& extent) const;
  // The gauge's font without anti-aliasing, so that every text pixel inverts fully; made when the
  // font is set (or at the first paint).
  HFONT TextFont() const;

  int minValue_ = 0;
  int maxValue_ = 100;
  int progress_ = 0;
  TGaugeKind kind_ = gkHorizontalBar;
  bool showText_ = true;
  TBorderStyle borderStyle_ = bsSingle;
  COLORREF foreColor_ = RGB(0, 0, 0);
  COLORREF backColor_ = RGB(255, 255, 255);
  COLORREF color_ = 0x80000000 | COLOR_WINDOW;
  mutable toolkit::TFont textFont_;
  // The images of the inverting styles, kept between paints of the same size.
  mutable TBltBitmap base_, textImage_;
};

}  // namespace controls
