// The page scroller, driven by real mouse messages; its halves' images read back as pixels.
#include <gtest/gtest.h>

#include <windows.h>

#include "controls/Gauges.h"
#include "controls/Tabs.h"
#include "tests/support/AccessibleReading.h"
#include "tests/support/HostForm.h"
#include "tests/support/WindowTesting.h"

using controls::TScroller;
using testing_support::PostMouse;
using testing_support::Pump;

namespace {

const COLORREF kBlack = RGB(0, 0, 0), kGrey = RGB(128, 128, 128), kWhite = RGB(255, 255, 255),
               kFace = RGB(192, 192, 192);

// Where each half's arrow has a pixel in all its looks, and where its face lies.
const POINT kLeftArrow{5, 6}, kRightArrow{17, 6};
const POINT kLeftEdge{1, 1}, kRightEdge{12, 1};

class ScrollerTest : public ::testing::Test {
 protected:
  ScrollerTest() {
    scroller.Create(host.Handle());
    scroller.OnClick = [this](TScroller& sender) {
      EXPECT_EQ(&sender, &scroller);
      ++clicks;
    };
    Pump();
  }

  void Range(int min, int max, int position) {
    scroller.SetMax(max);
    scroller.SetMin(min);
    scroller.SetPosition(position);
    clicks = 0;
    Pump();
  }
  COLORREF At(POINT p) {
    image.SetSize(TScroller::PairWidth - 1, TScroller::PairHeight);
    scroller.PaintTo(image.Canvas());
    return GetPixel(image.Canvas(), p.x, p.y);
  }
  void Click(int x) { testing_support::Click(scroller.Handle(), x, 6); }
  bool RepaintPending() const { return GetUpdateRect(scroller.Handle(), nullptr, FALSE) != FALSE; }

  testing_support::TShown<testing_support::THostForm> host;
  TScroller scroller;
  controls::TBltBitmap image;
  int clicks = 0;
};

}  // namespace

TEST_F(ScrollerTest, FreshScrollerHasBothHalvesDisabled) {
  EXPECT_EQ(scroller.Min(), 0);
  EXPECT_EQ(scroller.Max(), 0);
  EXPECT_EQ(scroller.Position(), 0);
  EXPECT_EQ(scroller.Change, 1);
  EXPECT_EQ(At(kLeftArrow), kGrey);
  EXPECT_EQ(At(kRightArrow), kGrey);
  for (int x : {3, 18}) {
    PostMouse(scroller.Handle(), WM_LBUTTONDOWN, x, 6, MK_LBUTTON);
    Pump();
    EXPECT_EQ(GetCapture(), nullptr);
    // Sampled while the button is down, on both halves.
    EXPECT_EQ(At(kLeftEdge), kWhite) << "the left half shows no press at x " << x;
    EXPECT_EQ(At(kRightEdge), kWhite) << "the right half shows no press at x " << x;
    PostMouse(scroller.Handle(), WM_LBUTTONUP, x, 6);
    Pump();
  }
  EXPECT_EQ(scroller.Position(), 0);
  EXPECT_EQ(clicks, 0);
}

// A left and a right arrow differ in where the head's top pixel lies: beside the stem's side, with
// face towards the point. Each half shows its own arrow in every look.
TEST_F(ScrollerTest, EachHalfShowsTheArrowOfItsOwnDirection) {
  const struct {
    const char* look;
    int position;  // in 0 .. 2
    int pressX;    // a half held down, or -1
    POINT leftHead;
    COLORREF leftArrow;
    POINT rightHead;
    COLORREF rightArrow;
  } looks[] = {
      {"left disabled", 0, -1, {6, 3}, kGrey, {16, 3}, kBlack},
      {"right disabled", 2, -1, {6, 3}, kBlack, {16, 3}, kGrey},
      {"left pressed", 1, 4, {7, 4}, kBlack, {16, 3}, kBlack},
      {"right pressed", 1, 18, {6, 3}, kBlack, {17, 4}, kBlack},
  };
  for (const auto& l : looks) {
    Range(0, 2, l.position);
    if (l.pressX >= 0) PostMouse(scroller.Handle(), WM_LBUTTONDOWN, l.pressX, 6, MK_LBUTTON);
    Pump();
    EXPECT_EQ(At(l.leftHead), l.leftArrow) << l.look;
    EXPECT_EQ(At({l.leftHead.x - 1, l.leftHead.y}), kFace) << l.look;
    EXPECT_EQ(At(l.rightHead), l.rightArrow) << l.look;
    EXPECT_EQ(At({l.rightHead.x + 1, l.rightHead.y}), kFace) << l.look;
    PostMouse(scroller.Handle(), WM_LBUTTONUP, l.pressX, 6);  // ends a press before the next look
    Pump();
  }
}

TEST_F(ScrollerTest, BoundsThatWouldCrossAreIgnored) {
  scroller.SetMin(5);
  EXPECT_EQ(scroller.Min(), 0);
  scroller.SetMax(0);
  EXPECT_EQ(scroller.Max(), 0);
  scroller.SetMax(2);
  EXPECT_EQ(scroller.Max(), 2);
  scroller.SetMin(2);
  EXPECT_EQ(scroller.Min(), 0);
  scroller.SetMin(-3);
  EXPECT_EQ(scroller.Min(), -3);
  scroller.SetMax(-3);
  EXPECT_EQ(scroller.Max(), 2) << "a bound equal to the other is ignored too";
  EXPECT_EQ(scroller.Position(), 0);
  EXPECT_FALSE(RepaintPending());
  const testing_support::TComApartment apartment;
  EXPECT_EQ(testing_support::TAccessible::OfWindow(scroller.Handle()).Value(), "4 von 6")
      << "counted from Min";
}

TEST_F(ScrollerTest, ClicksStepAndReportOnce) {
  Range(0, 2, 0);
  EXPECT_EQ(At(kLeftArrow), kGrey);
  EXPECT_EQ(At(kRightArrow), kBlack);
  Click(18);
  EXPECT_EQ(scroller.Position(), 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(At(kLeftArrow), kBlack);
  EXPECT_EQ(At(kRightArrow), kBlack);
  Click(18);
  EXPECT_EQ(scroller.Position(), 2);
  EXPECT_EQ(At(kRightArrow), kGrey) << "at Max the right half is disabled";
  PostMouse(scroller.Handle(), WM_LBUTTONDOWN, 18, 6, MK_LBUTTON);
  Pump();
  EXPECT_EQ(GetCapture(), nullptr);
  PostMouse(scroller.Handle(), WM_LBUTTONUP, 18, 6);
  Pump();
  EXPECT_EQ(scroller.Position(), 2);
  EXPECT_EQ(clicks, 2);
  Click(3);
  EXPECT_EQ(scroller.Position(), 1);
  EXPECT_EQ(clicks, 3);
}

TEST_F(ScrollerTest, SlidingOffAndBackShowsThePress) {
  Range(0, 5, 2);
  PostMouse(scroller.Handle(), WM_LBUTTONDOWN, 4, 6, MK_LBUTTON);
  Pump();
  EXPECT_EQ(GetCapture(), scroller.Handle());
  EXPECT_EQ(At(kLeftEdge), kGrey) << "sunken";
  EXPECT_EQ(At(kRightEdge), kWhite) << "only the pressed half sinks";
  EXPECT_EQ(At({6, 7}), kBlack) << "the arrow moved one pixel right and down";
  PostMouse(scroller.Handle(), WM_MOUSEMOVE, 4, 40, MK_LBUTTON);
  Pump();
  EXPECT_EQ(At(kLeftEdge), kWhite) << "raised again outside";
  PostMouse(scroller.Handle(), WM_MOUSEMOVE, 4, 6, MK_LBUTTON);
  Pump();
  EXPECT_EQ(At(kLeftEdge), kGrey);
  PostMouse(scroller.Handle(), WM_MOUSEMOVE, 4, 40, MK_LBUTTON);
  PostMouse(scroller.Handle(), WM_LBUTTONUP, 4, 40);
  Pump();
  EXPECT_EQ(scroller.Position(), 2) << "released outside: no step";
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(At(kLeftEdge), kWhite);

  // Released over the other half: no step either, and the half under the pointer never sinks.
  PostMouse(scroller.Handle(), WM_LBUTTONDOWN, 4, 6, MK_LBUTTON);
  PostMouse(scroller.Handle(), WM_MOUSEMOVE, 18, 6, MK_LBUTTON);
  Pump();
  EXPECT_EQ(At(kRightEdge), kWhite) << "the right half is not the pressed one";
  EXPECT_EQ(At(kLeftEdge), kWhite) << "the pointer left the pressed half";
  PostMouse(scroller.Handle(), WM_LBUTTONUP, 18, 6);
  Pump();
  EXPECT_EQ(scroller.Position(), 2);
  EXPECT_EQ(clicks, 0);
}

TEST_F(ScrollerTest, ChangeSetsTheStep) {
  Range(0, 10, 1);
  scroller.Change = 3;
  Click(3);
  EXPECT_EQ(scroller.Position(), 0);
  EXPECT_EQ(clicks, 1);
  Click(18);
  EXPECT_EQ(scroller.Position(), 3);
}

TEST_F(ScrollerTest, PositionComparesBeforeClamping) {
  Range(0, 2, 2);
  scroller.SetPosition(5);
  EXPECT_EQ(scroller.Position(), 2);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(RepaintPending());
  Pump();
  scroller.SetPosition(2);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(RepaintPending());
  scroller.SetPosition(-7);
  EXPECT_EQ(scroller.Position(), 0);
}

TEST_F(ScrollerTest, LoweringMaxBelowPositionLeavesPositionAlone) {
  Range(0, 5, 4);
  scroller.SetMax(2);
  EXPECT_EQ(scroller.Position(), 4);
  EXPECT_FALSE(RepaintPending());
  EXPECT_EQ(At(kRightArrow), kGrey);
  EXPECT_EQ(At(kLeftArrow), kBlack);
  Click(3);
  EXPECT_EQ(scroller.Position(), 2) << "the next setting clamps";
}

TEST_F(ScrollerTest, ColumnElevenBelongsToTheLeftHalfAndIsTheOutlineOfBoth) {
  Range(0, 5, 3);
  Click(11);
  EXPECT_EQ(scroller.Position(), 2);
  Click(12);
  EXPECT_EQ(scroller.Position(), 3);
  // The halves share one outline column, 11: the left face ends in its dark edge at 10, the right
  // face starts with its white edge at 12. (Both images are black in their outline columns, so which
  // half is drawn last cannot show; an image one column off can.)
  for (int y = 1; y < TScroller::PairHeight - 2; ++y) {
    EXPECT_EQ(At({10, y}), kGrey) << y;
    EXPECT_EQ(At({11, y}), kBlack) << y;
    EXPECT_EQ(At({12, y}), kWhite) << y;
  }
}

TEST_F(ScrollerTest, KeepsItsSize) {
  MoveWindow(scroller.Handle(), 64, 152, 100, 50, TRUE);
  RECT r;
  GetClientRect(scroller.Handle(), &r);
  EXPECT_EQ(r.right, 23);
  EXPECT_EQ(r.bottom, 13);
  EXPECT_EQ(testing_support::BoundsInParent(scroller.Handle()).left, 64);
}

TEST_F(ScrollerTest, DoubleClickStepsTwiceAsFarAsMaxAllows) {
  Range(0, 5, 0);
  PostMouse(scroller.Handle(), WM_LBUTTONDOWN, 18, 6, MK_LBUTTON);
  PostMouse(scroller.Handle(), WM_LBUTTONUP, 18, 6);
  PostMouse(scroller.Handle(), WM_LBUTTONDBLCLK, 18, 6, MK_LBUTTON);
  PostMouse(scroller.Handle(), WM_LBUTTONUP, 18, 6);
  Pump();
  EXPECT_EQ(scroller.Position(), 2);
  EXPECT_EQ(clicks, 2);
  Range(0, 1, 0);
  PostMouse(scroller.Handle(), WM_LBUTTONDOWN, 18, 6, MK_LBUTTON);
  PostMouse(scroller.Handle(), WM_LBUTTONUP, 18, 6);
  PostMouse(scroller.Handle(), WM_LBUTTONDBLCLK, 18, 6, MK_LBUTTON);
  PostMouse(scroller.Handle(), WM_LBUTTONUP, 18, 6);
  Pump();
  EXPECT_EQ(scroller.Position(), 1);
  EXPECT_EQ(clicks, 1);
}

TEST_F(ScrollerTest, LostCaptureEndsThePressWithoutAStep) {
  Range(0, 5, 2);
  PostMouse(scroller.Handle(), WM_LBUTTONDOWN, 4, 6, MK_LBUTTON);
  Pump();
  ASSERT_EQ(GetCapture(), scroller.Handle());
  SetCapture(host.Handle());
  ReleaseCapture();
  PostMouse(scroller.Handle(), WM_LBUTTONUP, 4, 6);
  Pump();
  EXPECT_EQ(scroller.Position(), 2);
  EXPECT_EQ(At(kLeftEdge), kWhite);
}
