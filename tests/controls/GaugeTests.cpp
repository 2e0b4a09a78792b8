// The percentage gauge: its arithmetic, its setters, and its pixels painted into a memory image and
// checked against the geometry of each style.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "controls/Gauges.h"
#include "tests/support/HostForm.h"
#include "tests/support/SystemColors.h"
#include "tests/support/WindowTesting.h"
#include "toolkit/HighContrast.h"

using controls::PercentOfSpan;
using controls::ScaleByPercent;
using controls::TGauge;
using testing_support::Pump;

namespace {

const COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255), kBlue = RGB(0, 0, 255),
               kYellow = RGB(255, 255, 0), kRed = RGB(255, 0, 0), kGreen = RGB(0, 128, 0);

std::string Hex(COLORREF c) {
  char text[16];
  std::snprintf(text, sizeof(text), "%06lX", static_cast<unsigned long>(c));
  return text;
}

class GaugeTest : public ::testing::Test {
 protected:
  GaugeTest() {
    gauge.Create(host.Handle());
    SendMessageA(gauge.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(host.Font()), FALSE);
  }

  void Resize(int width, int height) { MoveWindow(gauge.Handle(), 0, 0, width, height, FALSE); }

  // Paints the gauge into a memory image the gauge's size.
  void Render() {
    RECT client;
    GetClientRect(gauge.Handle(), &client);
    image.SetSize(client.right, client.bottom);
    gauge.PaintTo(image.Canvas());
  }
  COLORREF At(int x, int y) const { return GetPixel(image.Canvas(), x, y); }

  // Every pixel of the rectangle (right and bottom excluded) has the colour.
  ::testing::AssertionResult AllOf(const RECT& r, COLORREF color) const {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (At(x, y) != color)
          return ::testing::AssertionFailure()
                 << "(" << x << ", " << y << ") is " << Hex(At(x, y)) << ", not " << Hex(color);
    return ::testing::AssertionSuccess();
  }
  int Count(const RECT& r, COLORREF color) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += At(x, y) == color;
    return n;
  }

  testing_support::TShown<testing_support::THostForm> host;
  TGauge gauge;
  controls::TBltBitmap image;
};

}  // namespace

TEST(GaugeArithmetic, PercentOfSpanTruncatesWithoutLoss) {
  EXPECT_EQ(PercentOfSpan(0, 0), 0);
  EXPECT_EQ(PercentOfSpan(5, 0), 0);
  EXPECT_EQ(PercentOfSpan(1, 3), 33);
  EXPECT_EQ(PercentOfSpan(9999, 10000), 99);
  EXPECT_EQ(PercentOfSpan(4294967295LL, 4294967295LL), 100);
  EXPECT_EQ(PercentOfSpan(-5, 100), -5);
}

TEST(GaugeArithmetic, ScaleByPercentLosesOneWhereTheExtendedConstantIsLow) {
  const std::vector<int> lossy = {5,  10, 15, 20, 23, 27, 30, 40, 43, 46, 49,
                                  53, 54, 59, 60, 67, 73, 80, 86, 92, 98, 99};
  for (int percent = 0; percent <= 100; ++percent) {
    const bool loses = std::find(lossy.begin(), lossy.end(), percent) != lossy.end();
    EXPECT_EQ(ScaleByPercent(percent, 100), percent - (loses ? 1 : 0)) << percent;
  }
  EXPECT_EQ(ScaleByPercent(50, 496), 248);
  EXPECT_EQ(ScaleByPercent(100, 12345), 12345);
  EXPECT_EQ(ScaleByPercent(100, 1), 1);
}

TEST_F(GaugeTest, DefaultsShowAWhiteAreaInABlackFrameWithZeroPercent) {
  EXPECT_EQ(gauge.MinValue(), 0);
  EXPECT_EQ(gauge.MaxValue(), 100);
  EXPECT_EQ(gauge.Progress(), 0);
  EXPECT_EQ(gauge.Kind(), controls::gkHorizontalBar);
  EXPECT_TRUE(gauge.ShowText());
  EXPECT_EQ(gauge.BorderStyle(), controls::bsSingle);
  EXPECT_EQ(gauge.ForeColor(), kBlack);
  EXPECT_EQ(gauge.BackColor(), kWhite);
  RECT client;
  GetClientRect(gauge.Handle(), &client);
  EXPECT_EQ(client.right, 100);
  EXPECT_EQ(client.bottom, 100);

  Render();
  EXPECT_TRUE(AllOf({0, 0, 100, 1}, kBlack));
  EXPECT_TRUE(AllOf({0, 99, 100, 100}, kBlack));
  EXPECT_TRUE(AllOf({0, 0, 1, 100}, kBlack));
  EXPECT_TRUE(AllOf({99, 0, 100, 100}, kBlack));
  EXPECT_TRUE(AllOf({1, 1, 99, 40}, kWhite));
  // The text "0%" in black on white, in the middle.
  const RECT middle{30, 40, 70, 60};
  const int text = Count(middle, kBlack);
  EXPECT_GT(text, 10);
  EXPECT_EQ(text + Count(middle, kWhite), 40 * 20);
}

TEST_F(GaugeTest, SettersClampAndMoveProgressWithTheBounds) {
  gauge.SetProgress(150);
  EXPECT_EQ(gauge.Progress(), 100);
  EXPECT_EQ(gauge.CurrentPercent(), 100);
  gauge.SetProgress(-5);
  EXPECT_EQ(gauge.Progress(), 0);

  gauge.SetProgress(80);
  gauge.SetMaxValue(50);
  EXPECT_EQ(gauge.Progress(), 50);
  gauge.SetMaxValue(100);
  gauge.SetMinValue(60);
  EXPECT_EQ(gauge.Progress(), 60);
}

TEST_F(GaugeTest, CrossingBoundsRaiseTheRangeErrorAndChangeNothing) {
  gauge.SetProgress(30);
  try {
    gauge.SetMinValue(101);
    FAIL() << "no error";
  } catch (const controls::EInvalidOperation& error) {
    EXPECT_STREQ(error.what(), "Wert muß zwischen -2147483647 und 99 liegen");
  }
  try {
    gauge.SetMaxValue(-1);
    FAIL() << "no error";
  } catch (const controls::EInvalidOperation& error) {
    EXPECT_STREQ(error.what(), "Wert muß zwischen 1 und 2147483647 liegen");
  }
  EXPECT_EQ(gauge.MinValue(), 0);
  EXPECT_EQ(gauge.MaxValue(), 100);
  EXPECT_EQ(gauge.Progress(), 30);

  gauge.SetMinValue(100);
  EXPECT_EQ(gauge.Progress(), 100);
  EXPECT_EQ(gauge.CurrentPercent(), 0) << "equal bounds give 0 %";
  Render();
  EXPECT_TRUE(AllOf({1, 1, 99, 40}, kWhite)) << "no bar at equal bounds";
  EXPECT_GT(Count({30, 40, 70, 60}, kBlack), 10) << "the text 0%";
}

TEST_F(GaugeTest, TheWindowShowsWhatPaintToDraws) {
  // The window paints straight into its paint DC; the picture must equal the memory rendering.
  Resize(360, 28);  // within the host's client area
  gauge.SetForeColor(kBlue);
  for (const auto kind :
       {controls::gkHorizontalBar, controls::gkVerticalBar, controls::gkText, controls::gkPie}) {
    for (const int percent : {0, 37, 69, 100}) {
      gauge.SetKind(kind);
      gauge.SetProgress(percent);
      InvalidateRect(gauge.Handle(), nullptr, FALSE);
      UpdateWindow(gauge.Handle());
      Render();
      controls::TBltBitmap screen;
      screen.SetSize(360, 28);
      HDC window = GetDC(gauge.Handle());
      BitBlt(screen.Canvas(), 0, 0, 360, 28, window, 0, 0, SRCCOPY);
      ReleaseDC(gauge.Handle(), window);
      int differing = 0;
      for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 360; ++x) differing += GetPixel(screen.Canvas(), x, y) != At(x, y);
      EXPECT_EQ(differing, 0) << "kind " << static_cast<int>(kind) << ", " << percent << " %";
    }
  }
}

TEST_F(GaugeTest, ProgressRepaintsOnlyWhenThePercentageChanges) {
  gauge.SetShowText(false);
  gauge.SetMaxValue(1000);
  gauge.SetProgress(10);
  Pump();
  // A marker on the screen survives exactly as long as the gauge does not repaint.
  auto marked = [&](auto&& change) {
    HDC screen = GetDC(gauge.Handle());
    SetPixel(screen, 50, 50, kRed);
    change();
    const bool kept = GetPixel(screen, 50, 50) == kRed;
    ReleaseDC(gauge.Handle(), screen);
    return kept;
  };
  EXPECT_TRUE(marked([&] { gauge.SetProgress(11); }));
  EXPECT_EQ(gauge.Progress(), 11);
  EXPECT_TRUE(marked([&] { gauge.SetProgress(19); }));
  EXPECT_FALSE(marked([&] { gauge.SetProgress(20); }));
  EXPECT_FALSE(marked([&] { gauge.SetKind(controls::gkVerticalBar); })) << "other setters repaint at once";
  EXPECT_TRUE(marked([&] { gauge.SetKind(controls::gkVerticalBar); })) << "an equal value does nothing";
}

TEST_F(GaugeTest, GrowingEitherWayRepaintsTheWholeGauge) {
  for (const SIZE grow : {SIZE{20, 0}, SIZE{0, 20}}) {
    MoveWindow(gauge.Handle(), 0, 0, 100, 30, TRUE);
    UpdateWindow(gauge.Handle());
    MoveWindow(gauge.Handle(), 0, 0, 100 + grow.cx, 30 + grow.cy, TRUE);
    RECT update{}, client;
    GetUpdateRect(gauge.Handle(), &update, FALSE);
    GetClientRect(gauge.Handle(), &client);
    EXPECT_TRUE(EqualRect(&update, &client)) << grow.cx << " wider, " << grow.cy << " higher";
  }
}

TEST_F(GaugeTest, HorizontalBarGeometry) {
  gauge.SetShowText(false);
  gauge.SetForeColor(kBlue);
  Resize(497, 28);
  gauge.SetProgress(50);
  Render();
  // W = 496, fill (1, 1, 248, 27).
  EXPECT_TRUE(AllOf({1, 1, 248, 27}, kBlue));
  EXPECT_TRUE(AllOf({248, 1, 496, 27}, kWhite));
  EXPECT_TRUE(AllOf({0, 0, 497, 1}, kBlack));
  EXPECT_TRUE(AllOf({0, 27, 497, 28}, kBlack));
  EXPECT_TRUE(AllOf({496, 0, 497, 28}, kBlack));

  Resize(101, 10);
  gauge.SetProgress(10);
  Render();
  // 10 % of 100 is 9: the fill ends before column 9.
  EXPECT_TRUE(AllOf({1, 1, 9, 9}, kBlue));
  EXPECT_TRUE(AllOf({9, 1, 100, 9}, kWhite));

  gauge.SetProgress(100);
  Render();
  EXPECT_TRUE(AllOf({1, 1, 100, 9}, kBlue)) << "a full bar covers the inner area";
  EXPECT_TRUE(AllOf({100, 0, 101, 10}, kBlack));
}

// Under high contrast the bar takes the selection's colours, the rest the window's, the frame the
// window's text colour; without it the gauge's own colours, as before.
TEST_F(GaugeTest, HighContrastPaintsInTheSystemsColoursAndOtherwiseTheGaugesOwn) {
  const testing_support::TSystemColors colors({COLOR_HIGHLIGHT, COLOR_WINDOW, COLOR_WINDOWTEXT},
                                              {kYellow, kBlack, kGreen});
  gauge.SetForeColor(kBlue);
  Resize(101, 20);
  gauge.SetProgress(50);
  {
    const toolkit::TForcedHighContrast on(true);
    Render();
    EXPECT_TRUE(AllOf({1, 1, 30, 19}, kYellow));
    EXPECT_TRUE(AllOf({70, 1, 100, 19}, kBlack));
    EXPECT_TRUE(AllOf({0, 0, 101, 1}, kGreen));
    EXPECT_GT(Count({40, 1, 62, 19}, GetSysColor(COLOR_HIGHLIGHTTEXT)) + Count({40, 1, 62, 19}, kGreen), 0)
        << "the percentage in the system's text colours";
  }
  const toolkit::TForcedHighContrast off(false);
  Render();
  EXPECT_TRUE(AllOf({1, 1, 30, 19}, kBlue));
  EXPECT_TRUE(AllOf({70, 1, 100, 19}, kWhite));
  EXPECT_TRUE(AllOf({0, 0, 101, 1}, kBlack));
}

TEST_F(GaugeTest, FullVerticalBarWithoutBorderLeavesTheTopRow) {
  gauge.SetShowText(false);
  gauge.SetBorderStyle(controls::bsNone);
  gauge.SetKind(controls::gkVerticalBar);
  gauge.SetForeColor(kGreen);
  Resize(20, 40);
  gauge.SetProgress(100);
  Render();
  EXPECT_TRUE(AllOf({0, 0, 20, 1}, kWhite));
  EXPECT_TRUE(AllOf({0, 1, 20, 40}, kGreen));
  gauge.SetProgress(25);
  Render();
  // H = 41, Y = 10: rows 31 to 39.
  EXPECT_TRUE(AllOf({0, 0, 20, 31}, kWhite));
  EXPECT_TRUE(AllOf({0, 31, 20, 40}, kGreen));
}

TEST_F(GaugeTest, PieFillsClockwiseFromTwelve) {
  gauge.SetShowText(false);
  gauge.SetKind(controls::gkPie);
  gauge.SetForeColor(kBlue);
  gauge.SetColor(kRed);
  // Wider than high, so that swapped axes show: inner (1, 1, 160, 80), centre about (80, 40).
  Resize(161, 81);
  // Quarter points: upper right, lower right, lower left, upper left.
  const POINT quarters[] = {{112, 24}, {112, 56}, {48, 56}, {48, 24}};
  const struct {
    int percent;
    int filled;  // quarters filled, clockwise from the upper right
  } cases[] = {{0, 0}, {25, 1}, {50, 2}, {75, 3}, {100, 4}};
  for (const auto& c : cases) {
    gauge.SetProgress(c.percent);
    Render();
    for (int q = 0; q < 4; ++q)
      EXPECT_EQ(At(quarters[q].x, quarters[q].y), q < c.filled ? kBlue : kWhite)
          << c.percent << "% quarter " << q;
    EXPECT_EQ(At(2, 2), kRed) << "corners outside the ellipse show Color";
    EXPECT_EQ(At(158, 78), kRed) << "corners outside the ellipse show Color";
    EXPECT_EQ(At(80, 1), kBlue) << "the outline at the top";
    EXPECT_EQ(At(1, 40), kBlue) << "the outline at the left";
  }
  gauge.SetProgress(1);
  Render();
  EXPECT_EQ(At(81, 10), kBlue) << "1 % is a thin wedge right of twelve";
  EXPECT_EQ(At(79, 10), kWhite);
}

TEST_F(GaugeTest, NeedlePointsLeftUpAndRight) {
  gauge.SetShowText(false);
  gauge.SetKind(controls::gkNeedle);
  gauge.SetColor(kRed);
  gauge.SetForeColor(kBlue);
  // Wider than high, so that swapped axes show: inner (1, 1, 160, 50); the needle turns about
  // (80, 49), half the control's width and one above the inner bottom.
  Resize(161, 51);
  const int cx = 80, cy = 49;
  gauge.SetProgress(0);
  Render();
  EXPECT_EQ(At(cx, 25), kWhite) << "no needle at 0 %";
  // The base line lies on the frame's bottom row, in the needle's colour.
  EXPECT_TRUE(AllOf({1, 50, 160, 51}, kBlue)) << "the base line";
  EXPECT_EQ(At(0, 50), kBlack) << "the frame's corner";
  // A pixel of the needle's line at column x, allowing one row of rounding.
  auto onNeedle = [&](int x, int endX, int endY) {
    const int y = static_cast<int>(std::lround(cy + static_cast<double>(endY - cy) * (x - cx) / (endX - cx)));
    return At(x, y) == kBlue || At(x, y - 1) == kBlue || At(x, y + 1) == kBlue;
  };
  for (int percent : {10, 30, 70, 90}) {
    gauge.SetProgress(percent);
    Render();
    const double a = percent / 100.0 * std::numbers::pi;
    const int endX = static_cast<int>(std::nearbyint(cx * (1 - std::cos(a))));
    const int endY = static_cast<int>(std::nearbyint(cy * (1 - std::sin(a))));
    for (int x : {endX + (cx - endX) / 10, (endX + cx) / 2})
      EXPECT_TRUE(onNeedle(x, endX, endY)) << percent << "% at x " << x << ", tip " << endX << "," << endY;
  }
  // Up: a vertical needle that leaves both sides alone.
  gauge.SetProgress(50);
  Render();
  EXPECT_EQ(At(cx, 5), kBlue);
  EXPECT_EQ(At(cx, 40), kBlue);
  EXPECT_EQ(At(40, 30), kWhite);
  EXPECT_EQ(At(120, 30), kWhite);
}

TEST_F(GaugeTest, PieAndNeedleFillTheInnerAreaWithEitherBorder) {
  // An ellipse as wide as the inner area: the upper rows mirror about the middle column, the frame
  // included.
  gauge.SetShowText(false);
  gauge.SetColor(kRed);
  Resize(21, 11);
  for (const auto kind : {controls::gkPie, controls::gkNeedle})
    for (const auto border : {controls::bsSingle, controls::bsNone}) {
      gauge.SetKind(kind);
      gauge.SetBorderStyle(border);
      Render();
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 10; ++x)
          ASSERT_EQ(Hex(At(x, y)), Hex(At(20 - x, y)))
              << "kind " << kind << ", border " << border << " at " << x << "," << y;
    }
}

TEST_F(GaugeTest, TextStyleWithoutTextIsPlainBackColor) {
  gauge.SetKind(controls::gkText);
  gauge.SetShowText(false);
  gauge.SetBackColor(kYellow);
  gauge.SetProgress(70);
  Render();
  EXPECT_TRUE(AllOf({1, 1, 99, 99}, kYellow));
  EXPECT_TRUE(AllOf({0, 0, 100, 1}, kBlack));
}

TEST_F(GaugeTest, TextInvertsThePictureBeneathIt) {
  gauge.SetForeColor(kBlue);
  Resize(61, 20);
  gauge.SetProgress(50);
  Render();
  // The bar ends at column 30; "50%" straddles it: yellow over blue, black over white.
  const RECT left{1, 1, 30, 19}, right{30, 1, 60, 19};
  EXPECT_GT(Count(left, kYellow), 5);
  EXPECT_GT(Count(right, kBlack), 5);
  EXPECT_EQ(Count(left, kYellow) + Count(left, kBlue), 29 * 18) << "only inverted colours";
  EXPECT_EQ(Count(right, kBlack) + Count(right, kWhite), 30 * 18);
}

TEST_F(GaugeTest, TextWiderThanTheGaugeIsClippedAtTheInnerArea) {
  gauge.SetForeColor(kBlue);
  Resize(12, 8);
  gauge.SetProgress(100);
  Render();
  EXPECT_TRUE(AllOf({0, 0, 12, 1}, kBlack));
  EXPECT_TRUE(AllOf({0, 7, 12, 8}, kBlack));
  EXPECT_TRUE(AllOf({0, 0, 1, 8}, kBlack));
  EXPECT_TRUE(AllOf({11, 0, 12, 8}, kBlack));
  EXPECT_GT(Count({1, 1, 11, 7}, kYellow), 0);
}

TEST_F(GaugeTest, AThousandPaintsLeaveNoGdiObjectBehind) {
  gauge.SetForeColor(kBlue);
  Resize(497, 28);
  // GDI hands out freed handle slots again before new ones. The highest slot that a batch of fresh
  // objects gets therefore stays put while paints free what they create, and climbs by every
  // object that they leak.
  auto highestFreshSlot = [] {
    std::vector<HBRUSH> brushes;
    unsigned highest = 0;
    for (int i = 0; i < 300; ++i) {
      brushes.push_back(CreateSolidBrush(RGB(1, 2, 3)));
      highest = std::max(highest, static_cast<unsigned>(LOWORD(reinterpret_cast<UINT_PTR>(brushes.back()))));
    }
    for (HBRUSH brush : brushes) DeleteObject(brush);
    return highest;
  };
  Render();
  const unsigned before = highestFreshSlot();
  for (int i = 0; i < 1000; ++i) {
    gauge.SetKind(static_cast<controls::TGaugeKind>(i % 5));
    gauge.SetProgress(i % 101);
    Render();
  }
  const unsigned after = highestFreshSlot();
  EXPECT_LT(after, before + 64) << before << " -> " << after;
}
