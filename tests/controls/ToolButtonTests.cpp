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

// Under Windows' high contrast each glyph is drawn in two system colours, the button's text on its
// face, and keeps its inner shapes: the "i" is a ring around its letter, not a disc, and the copy
// buttons with one and with three arrows still differ. A disabled glyph is grey text. Without high
// contrast the glyph is as it was.
TEST_F(ToolButtonTest, HighContrastKeepsEachGlyphsInnerShapesInTheSystemsColours) {
  const std::vector<COLORREF> normal = testing_support::Picture(button, 25, 25);
  for (const testing_support::TColorScheme* scheme :
       {&testing_support::HighContrastBlack(), &testing_support::HighContrastWhite()}) {
    const testing_support::TSystemColors colors(*scheme);
    const toolkit::TForcedHighContrast on(true);
    const COLORREF text = GetSysColor(COLOR_BTNTEXT), face = GetSysColor(COLOR_BTNFACE);
    // The 16-pixel glyph lies at 4, 4 inside the button's frame.
    const auto glyphColours = [](const std::vector<COLORREF>& picture, int y) {
      std::vector<COLORREF> row;
      for (int x = 4; x < 20; ++x) row.push_back(picture[static_cast<size_t>(y * 25 + x)]);
      return row;
    };
    const std::vector<COLORREF> info = testing_support::Picture(button, 25, 25);
    for (int y = 4; y < 20; ++y)
      for (const COLORREF pixel : glyphColours(info, y))
        ASSERT_TRUE(pixel == text || pixel == face)
            << scheme->Name << " row " << y << ": " << std::hex << pixel;
    // Across the disc's middle: face, the ring, the disc, the letter, the disc, the ring, face.
    const std::vector<COLORREF> middle = glyphColours(info, 14);
    int runs = 1;
    for (size_t x = 1; x < middle.size(); ++x) runs += middle[x] != middle[x - 1];
    EXPECT_EQ(runs, 7) << scheme->Name;

    controls::TToolButton one(RES_GLYPH_COPYINFO, 1), three(RES_GLYPH_COPYINFOS, 1);
    for (controls::TToolButton* copy : {&one, &three}) {
      copy->Create(host.Handle());
      MoveWindow(copy->Handle(), 30, 0, 25, 25, TRUE);
    }
    EXPECT_NE(testing_support::Picture(one, 25, 25), testing_support::Picture(three, 25, 25)) << scheme->Name;

    EnableWindow(button.Handle(), FALSE);
    const std::vector<COLORREF> disabled = testing_support::Picture(button, 25, 25);
    EnableWindow(button.Handle(), TRUE);
    int grey = 0;
    for (int y = 4; y < 20; ++y)
      for (const COLORREF pixel : glyphColours(disabled, y)) {
        EXPECT_NE(pixel, text) << scheme->Name;
        grey += pixel == GetSysColor(COLOR_GRAYTEXT);
      }
    EXPECT_GT(grey, 15) << scheme->Name;
  }
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
