// The string grid driven by real mouse, key and scroll messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "controls/StringGrid.h"
#include "runtime/Errors.h"
#include "tests/support/HostForm.h"
#include "tests/support/WinEvents.h"
#include "tests/support/WindowTesting.h"
#include "toolkit/Accessible.h"
#include "toolkit/Dpi.h"
#include "toolkit/Fonts.h"
#include "toolkit/Handles.h"
#include "toolkit/Label.h"

using controls::TGridCoord;
using controls::TGridRect;
using controls::TStringGrid;
using testing_support::Picture;
using testing_support::Pump;

namespace {

class StringGridTest : public ::testing::Test {
 protected:
  StringGridTest() : grid(2, 10, 1, 19) {
    grid.Create(host.Handle());
    MoveWindow(grid.Handle(), 0, 0, 300, 200, TRUE);
    grid.SetColWidth(0, 100);
    grid.SetColWidth(1, 100);
    grid.SetRowHeight(0, 5);
    Pump();
  }
  ~StringGridTest() override { SetShift(false); }

  // Centre of a cell in client coordinates, for the rows shown at the top.
  POINT CellCenter(int col, int row) const {
    const int x = col * 101 + 50;
    const int y = 6 + (row - grid.TopRow()) * 20 + 10;
    return {x, y};
  }
  static void SetShift(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
  }

  testing_support::TShown<testing_support::THostForm> host;
  TStringGrid grid;
};

std::string Text(const TGridRect& r) {
  return std::to_string(r.Left) + "," + std::to_string(r.Top) + "-" + std::to_string(r.Right) + "," +
         std::to_string(r.Bottom);
}

}  // namespace

TEST_F(StringGridTest, RowCountDropsTheTextsOfRemovedRows) {
  grid.SetCell(1, 2, L"zwei");
  grid.SetRowCount(3);
  EXPECT_EQ(grid.RowCount(), 3);
  EXPECT_THROW(grid.Cell(1, 9), runtime::EListError);
  EXPECT_EQ(grid.Cell(1, 2), L"zwei");
  grid.SetRowCount(17);
  EXPECT_EQ(grid.Cell(1, 9), L"");
  EXPECT_EQ(grid.RowHeight(16), 19);
  EXPECT_EQ(grid.RowHeight(0), 5);
  EXPECT_THROW(grid.SetCell(2, 1, L"x"), runtime::EListError);
}

TEST_F(StringGridTest, EveryChangeIsPainted) {
  const std::pair<const char*, std::function<void()>> changes[] = {
      {"text", [&] { grid.SetCell(1, 9, L"neun"); }},
      {"row count", [&] { grid.SetRowCount(12); }},
      {"column width", [&] { grid.SetColWidth(0, 90); }},
      {"row height", [&] { grid.SetRowHeight(2, 30); }},
      {"all rows' height", [&] { grid.SetDefaultRowHeight(18); }},
      {"cell mark", [&] { SendMessageW(grid.Handle(), WM_KEYDOWN, VK_DOWN, 0); }},
      {"scrolling", [&] { SendMessageW(grid.Handle(), WM_VSCROLL, SB_LINEDOWN, 0); }},
      {"size", [&] { MoveWindow(grid.Handle(), 0, 0, 280, 120, FALSE); }},
      {"focus", [&] { SetFocus(grid.Handle()); }},
  };
  for (const auto& [name, change] : changes) {
    UpdateWindow(grid.Handle());
    change();
    EXPECT_TRUE(GetUpdateRect(grid.Handle(), nullptr, FALSE)) << name;
  }
}

TEST_F(StringGridTest, KeysMoveTheCurrentCellAndShiftSelectsARange) {
  EXPECT_EQ(grid.Selection(), (TGridRect{0, 1, 0, 1}));
  testing_support::PostKey(grid.Handle(), VK_DOWN);
  testing_support::PostKey(grid.Handle(), VK_DOWN);
  EXPECT_EQ(grid.Selection(), (TGridRect{0, 3, 0, 3})) << Text(grid.Selection());
  SetShift(true);
  testing_support::PostKey(grid.Handle(), VK_RIGHT);
  testing_support::PostKey(grid.Handle(), VK_UP);
  SetShift(false);
  EXPECT_EQ(grid.Selection(), (TGridRect{0, 2, 1, 3})) << Text(grid.Selection());
  // The header row is never selected.
  for (int i = 0; i < 5; ++i) testing_support::PostKey(grid.Handle(), VK_UP);
  EXPECT_EQ(grid.Selection(), (TGridRect{1, 1, 1, 1})) << Text(grid.Selection());
}

TEST_F(StringGridTest, DraggingTheMouseSelectsCells) {
  const POINT from = CellCenter(0, 2), to = CellCenter(1, 4);
  testing_support::PostMouse(grid.Handle(), WM_LBUTTONDOWN, from.x, from.y, MK_LBUTTON);
  Pump();
  EXPECT_EQ(GetCapture(), grid.Handle()) << "the drag is followed beyond the grid's edges";
  testing_support::PostMouse(grid.Handle(), WM_MOUSEMOVE, to.x, to.y, MK_LBUTTON);
  testing_support::PostMouse(grid.Handle(), WM_LBUTTONUP, to.x, to.y);
  Pump();
  EXPECT_EQ(grid.Selection(), (TGridRect{0, 2, 1, 4})) << Text(grid.Selection());
  EXPECT_EQ(GetFocus(), grid.Handle());
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(StringGridTest, ColumnBordersAreDraggedInTheHeaderRow) {
  // The border right of column 0 lies at x = 100; the header row is 5 pixels high.
  testing_support::PostMouse(grid.Handle(), WM_LBUTTONDOWN, 100, 2, MK_LBUTTON);
  testing_support::PostMouse(grid.Handle(), WM_MOUSEMOVE, 140, 2, MK_LBUTTON);
  testing_support::PostMouse(grid.Handle(), WM_LBUTTONUP, 140, 2);
  Pump();
  EXPECT_EQ(grid.ColWidth(0), 140);
  EXPECT_EQ(grid.ColWidth(1), 100);
  // A border is grabbed up to two pixels beside it.
  for (const int offset : {-3, -2, 2, 3}) {
    const int border = grid.ColWidth(0);
    const bool grabbed = offset >= -2 && offset <= 2;
    testing_support::PostMouse(grid.Handle(), WM_LBUTTONDOWN, border + offset, 2, MK_LBUTTON);
    testing_support::PostMouse(grid.Handle(), WM_MOUSEMOVE, border + 10, 2, MK_LBUTTON);
    testing_support::PostMouse(grid.Handle(), WM_LBUTTONUP, border + 10, 2);
    Pump();
    EXPECT_EQ(grid.ColWidth(0), grabbed ? border + 10 : border) << offset;
  }
  // Below the header the same place selects a cell and sizes nothing.
  const int border = grid.ColWidth(0);
  testing_support::Click(grid.Handle(), border, 30);
  EXPECT_EQ(grid.ColWidth(0), border);
  EXPECT_EQ(grid.CellAt(border, 30).Col, 0);
  EXPECT_EQ(grid.CellAt(border, 2).Row, 0) << "the header's cells are cells too";
  const TGridCoord beyond = grid.CellAt(5000, 30);
  EXPECT_EQ(beyond.Col, -1) << "a row's place beyond the last column is no cell";
  EXPECT_EQ(beyond.Row, -1);
}

TEST_F(StringGridTest, ScrollingStaysWithinTheRows) {
  grid.SetRowCount(30);
  Pump();
  // 200 - 2 border pixels, less the 6-pixel header: 9 whole rows of 20 pixels show.
  SendMessageA(grid.Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(grid.TopRow(), 2);
  SendMessageA(grid.Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(grid.TopRow(), 21);
  SendMessageA(grid.Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(grid.TopRow(), 21);
  SendMessageA(grid.Handle(), WM_VSCROLL, SB_LINEUP, 0);
  EXPECT_EQ(grid.TopRow(), 20);
  SendMessageA(grid.Handle(), WM_VSCROLL, SB_PAGEUP, 0);
  EXPECT_EQ(grid.TopRow(), 11);
  SendMessageA(grid.Handle(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(grid.TopRow(), 1);
  // Moving the current cell below the view scrolls it into view.
  for (int i = 0; i < 12; ++i) testing_support::PostKey(grid.Handle(), VK_DOWN);
  EXPECT_EQ(grid.Selection().Top, 13);
  EXPECT_EQ(grid.TopRow(), 5);
  EXPECT_EQ(grid.CellAt(CellCenter(0, 13).x, CellCenter(0, 13).y).Row, 13);
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_POS | SIF_RANGE;
  GetScrollInfo(grid.Handle(), SB_VERT, &info);
  EXPECT_EQ(info.nPos, 5);
  EXPECT_EQ(info.nMax, 29);
  // Above the view too, up to the first row under the header.
  for (int i = 0; i < 12; ++i) testing_support::PostKey(grid.Handle(), VK_UP);
  EXPECT_EQ(grid.TopRow(), 1);
}

TEST_F(StringGridTest, AGridTooLowForAWholeRowScrollsToItsLastRowAndNoFurther) {
  // 18 pixels inside the border: the 6-pixel header and part of one row.
  MoveWindow(grid.Handle(), 0, 0, 300, 20, TRUE);
  Pump();
  SendMessageA(grid.Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(grid.TopRow(), 9);
  SendMessageA(grid.Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(grid.TopRow(), 9);
}

TEST_F(StringGridTest, ColumnBordersStayWithinReachAtBothEnds) {
  // Dragged far past the right edge: the border stops inside the client area.
  testing_support::PostMouse(grid.Handle(), WM_LBUTTONDOWN, 100, 2, MK_LBUTTON);
  testing_support::PostMouse(grid.Handle(), WM_MOUSEMOVE, 1061, 2, MK_LBUTTON);
  testing_support::PostMouse(grid.Handle(), WM_LBUTTONUP, 1061, 2);
  Pump();
  EXPECT_LE(grid.ColWidth(0), grid.ClientWidth() - 1);
  EXPECT_GT(grid.ColWidth(0), 200);

  // A value column of width 0 behind the first one is grabbed again, not the first.
  grid.SetColWidth(0, 100);
  grid.SetColWidth(1, 0);
  testing_support::PostMouse(grid.Handle(), WM_LBUTTONDOWN, 101, 2, MK_LBUTTON);
  testing_support::PostMouse(grid.Handle(), WM_MOUSEMOVE, 150, 2, MK_LBUTTON);
  testing_support::PostMouse(grid.Handle(), WM_LBUTTONUP, 150, 2);
  Pump();
  EXPECT_EQ(grid.ColWidth(0), 100);
  EXPECT_EQ(grid.ColWidth(1), 49);
}

TEST_F(StringGridTest, WheelStepsSmallerThanANotchAddUp) {
  grid.SetRowCount(30);
  Pump();
  auto wheel = [&](short delta) {
    SendMessageA(grid.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), 0);
  };
  wheel(-120);
  EXPECT_EQ(grid.TopRow(), 4) << "a notch scrolls three rows";
  for (int i = 0; i < 3; ++i) wheel(-30);
  EXPECT_EQ(grid.TopRow(), 4) << "three quarters of a notch";
  wheel(-30);
  EXPECT_EQ(grid.TopRow(), 7) << "the fourth quarter completes it";
  for (int i = 0; i < 4; ++i) wheel(30);
  EXPECT_EQ(grid.TopRow(), 4);
}

// Text beyond code page 1252 draws as itself (or as the font's missing-glyph box), never as the '?'
// of a conversion.
TEST_F(StringGridTest, CellsAndLabelsDrawTheirTextWhole) {
  const std::wstring cyrillic = L"\u0416\u0416\u0416 \u65E5";
  grid.SetCell(1, 1, L"??? ?");
  const std::vector<COLORREF> questionMarks = Picture(grid, 300, 30);
  grid.SetCell(1, 1, cyrillic);
  EXPECT_EQ(grid.Cell(1, 1), cyrillic);
  EXPECT_NE(Picture(grid, 300, 30), questionMarks);

  toolkit::TLabel label(
      toolkit::TLabelSettings{L"??? ?", RGB(0, 0, 0), toolkit::TTextAlign::Left, /*AutoSize=*/false});
  label.Create(host.Handle());
  MoveWindow(label.Handle(), 0, 0, 40, 12, TRUE);
  Pump();
  const std::vector<COLORREF> labelQuestionMarks = Picture(label, 40, 12);
  label.SetCaption(cyrillic);
  EXPECT_EQ(label.Caption(), cyrillic);
  EXPECT_NE(Picture(label, 40, 12), labelQuestionMarks);
}

// A cell's text stands in the middle of its row and keeps a gap to the cell's left line that grows
// with the display, at 100 % and 200 % alike (at 200 % it sat 6 pixels below the top of a 38-pixel
// row and 16 above its bottom).
TEST_F(StringGridTest, TextIsCentredInItsRowAndItsGapScales) {
  for (const int dpi : {96, 192}) {
    const toolkit::TFont font = toolkit::CreateFontOf({L"Microsoft Sans Serif", 11}, dpi);
    SendMessageW(grid.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    grid.SetDpi(dpi);
    const int row = toolkit::Scale(19, dpi), header = toolkit::Scale(5, dpi);
    grid.SetDefaultRowHeight(row);
    grid.SetRowHeight(0, header);
    // The second column: the first row's first cell is the current one, drawn selected.
    grid.SetCell(1, 1, L"NTFS");
    const int cell = 101, width = cell + 100, height = header + 1 + row;
    const std::vector<COLORREF> picture = Picture(grid, width, height);
    // The ink of the cell: what is not the window's white.
    int top = height, bottom = -1, left = width;
    for (int y = header + 1; y < height; ++y)
      for (int x = cell; x < width; ++x)
        if (picture[static_cast<size_t>(y * width + x)] != GetSysColor(COLOR_WINDOW)) {
          top = std::min(top, y), bottom = std::max(bottom, y), left = std::min(left, x);
        }
    ASSERT_LE(top, bottom) << dpi << " dpi: no text";
    const int above = top - (header + 1), below = height - 1 - bottom;
    EXPECT_LE(std::abs(above - below), toolkit::Scale(2, dpi))
        << dpi << " dpi: " << above << " above, " << below << " below";
    EXPECT_GE(left - cell, toolkit::Scale(2, dpi)) << dpi << " dpi";
    SendMessageW(grid.Handle(), WM_SETFONT, 0, FALSE);
  }
}

// A screen reader hears each name that changes once, after the changes of one message: a row filled
// cell by cell is one event for the row and one for each cell; a text set again unchanged is none.
TEST_F(StringGridTest, EachChangedNameIsHeardOnce) {
  const auto id = [](int row, int col) {
    return toolkit::AccChildId(col < 0 ? toolkit::TAccPath().Child(row)
                                       : toolkit::TAccPath().Child(row).Child(col));
  };
  testing_support::TWinEventListener listener(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE);
  grid.SetCell(0, 1, L"Laufwerkstyp");
  grid.SetCell(1, 1, L"Festplatte");
  grid.SetCell(1, 2, L"C");
  Pump();
  std::vector<LONG> heard;
  for (const auto& [event, child] : listener.Events) heard.push_back(child);
  EXPECT_EQ(heard, (std::vector<LONG>{id(0, -1), id(0, 0), id(0, 1), id(1, -1), id(1, 1)}));
  listener.Events.clear();
  grid.SetCell(1, 1, L"Festplatte");
  Pump();
  EXPECT_TRUE(listener.Events.empty());
}
