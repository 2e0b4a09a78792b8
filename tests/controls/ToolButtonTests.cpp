// Tool buttons and the GDI wrappers beneath them.
#include <gtest/gtest.h>

#include <vector>

#include "controls/ToolButton.h"
#include "resources/resource_ids.h"
#include "tests/support/AccessibleReading.h"
#include "tests/support/HostForm.h"
#include "tests/support/SystemColors.h"
#include "tests/support/WindowTesting.h"
#include "toolkit/Handles.h"
#include "toolkit/HighContrast.h"

using testing_support::PostMouse;
using testing_support::Pump;

namespace {

class ToolButtonTest : public ::testing::Test {
 protected:
  ToolButtonTest()
      : button(RES_GLYPH_INFO, 2),
        other(CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 100, 0, 50, 20, host.Handle(), nullptr,
                              nullptr, nullptr)) {
    button.Create(host.Handle());
    MoveWindow(button.Handle(), 0, 0, 25, 25, TRUE);
    button.OnClick = [this] { ++clicks; };
    SetFocus(other.Get());
    Pump();
  }
  testing_support::TShown<testing_support::THostForm> host;
  controls::TToolButton button;
  toolkit::TUniqueHandle<HWND, DestroyWindow> other;
  int clicks = 0;
};

}  // namespace

TEST_F(ToolButtonTest, ClickFiresOnceAndLeavesTheFocusAlone) {
  testing_support::Click(button.Handle(), 12, 12);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(GetFocus(), other.Get());
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ToolButtonTest, ReleaseOutsideIsNoClick) {
  PostMouse(button.Handle(), WM_LBUTTONDOWN, 12, 12, MK_LBUTTON);
  PostMouse(button.Handle(), WM_MOUSEMOVE, 40, 12, MK_LBUTTON);
  PostMouse(button.Handle(), WM_LBUTTONUP, 40, 12);
  Pump();
  EXPECT_EQ(clicks, 0);
  // Sliding back before the release makes it a click again.
  PostMouse(button.Handle(), WM_LBUTTONDOWN, 12, 12, MK_LBUTTON);
  PostMouse(button.Handle(), WM_MOUSEMOVE, 40, 12, MK_LBUTTON);
  PostMouse(button.Handle(), WM_MOUSEMOVE, 5, 5, MK_LBUTTON);
  PostMouse(button.Handle(), WM_LBUTTONUP, 5, 5);
  Pump();
  EXPECT_EQ(clicks, 1);
}

TEST_F(ToolButtonTest, APressShowsWhileThePointerIsOnTheButton) {
  const testing_support::TComApartment apartment;
  const auto accessible = testing_support::TAccessible::OfWindow(button.Handle());
  PostMouse(button.Handle(), WM_LBUTTONDOWN, 12, 12, MK_LBUTTON);
  Pump();
  EXPECT_TRUE(accessible.State() & STATE_SYSTEM_PRESSED);
  PostMouse(button.Handle(), WM_MOUSEMOVE, 40, 12, MK_LBUTTON);
  Pump();
  EXPECT_FALSE(accessible.State() & STATE_SYSTEM_PRESSED);
  PostMouse(button.Handle(), WM_LBUTTONUP, 40, 12);
  Pump();
}

TEST_F(ToolButtonTest, LostCaptureEndsThePress) {
  PostMouse(button.Handle(), WM_LBUTTONDOWN, 12, 12, MK_LBUTTON);
  Pump();
  EXPECT_EQ(GetCapture(), button.Handle());
  SetCapture(other.Get());
  ReleaseCapture();
  PostMouse(button.Handle(), WM_LBUTTONUP, 12, 12);
  Pump();
  EXPECT_EQ(clicks, 0);
}

TEST_F(ToolButtonTest, AScreenReaderCannotPressADisabledButton) {
  const testing_support::TComApartment apartment;
  const auto accessible = testing_support::TAccessible::OfWindow(button.Handle());
  EnableWindow(button.Handle(), FALSE);
  EXPECT_EQ(accessible.DoDefaultAction(), DISP_E_MEMBERNOTFOUND);
  EnableWindow(button.Handle(), TRUE);
  EXPECT_EQ(accessible.DoDefaultAction(), S_OK);
  Pump();
  EXPECT_EQ(clicks, 1);
}

// Under high contrast the glyph takes the button's text colour, none of its own colours left; the
// face and the frame stay as they are, and without high contrast the glyph is as it was.
TEST_F(ToolButtonTest, HighContrastDrawsTheGlyphInTheButtonsTextColour) {
  const COLORREF yellow = RGB(255, 255, 0);
  const testing_support::TSystemColors colors({COLOR_BTNTEXT}, {yellow});
  const std::vector<COLORREF> normal = testing_support::Picture(button, 25, 25);
  std::vector<COLORREF> contrast;
  {
    const toolkit::TForcedHighContrast on(true);
    contrast = testing_support::Picture(button, 25, 25);
  }
  int glyph = 0;
  for (size_t i = 0; i < normal.size(); ++i) {
    if (contrast[i] == normal[i]) continue;
    EXPECT_EQ(contrast[i], yellow) << "pixel " << i;
    ++glyph;
  }
  EXPECT_GT(glyph, 20);
  EXPECT_EQ(testing_support::Picture(button, 25, 25), normal);
}

TEST(GdiWrappers, MemoryImagesBelowOnePixelBecomeOne) {
  const struct {
    int width, height;
    LONG madeWidth, madeHeight;
  } cases[] = {{0, 0, 1, 1}, {-3, 4, 1, 4}, {5, -1, 5, 1}};
  for (const auto& c : cases) {
    const toolkit::TBitmap image(toolkit::CreateMemoryImage(c.width, c.height));
    BITMAP made{};
    ASSERT_EQ(GetObjectW(image.Get(), sizeof(made), &made), static_cast<int>(sizeof(made))) << c.width;
    EXPECT_EQ(made.bmWidth, c.madeWidth) << c.width << " x " << c.height;
    EXPECT_EQ(made.bmHeight, c.madeHeight) << c.width << " x " << c.height;
  }
}

TEST(GdiWrappers, SelectObjectPutsThePreviousObjectBack) {
  toolkit::TMemoryDC dc(CreateCompatibleDC(nullptr));
  toolkit::TBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
  const HGDIOBJ before = GetCurrentObject(dc.Get(), OBJ_BRUSH);
  {
    toolkit::TSelectObject select(dc.Get(), brush.Get());
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), brush.Get());
  }
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), before);
}

TEST(GdiWrappers, OwnersDeleteTheirObjectOnce) {
  HBRUSH raw = CreateSolidBrush(RGB(4, 5, 6));
  {
    toolkit::TBrush first(raw);
    toolkit::TBrush second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.Get(), raw);
    EXPECT_NE(GetObjectType(raw), 0u);
  }
  EXPECT_EQ(GetObjectType(raw), 0u) << "the brush outlived its owner";
}
