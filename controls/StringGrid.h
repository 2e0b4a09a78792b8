// A string grid: columns of text cells with fixed header rows, lines between all cells, a cell range
// selected by mouse and keys, column borders that the user drags, and a vertical scroll bar that
// follows its thumb. Cells are not editable.
#pragma once

#include <string>
#include <vector>

#include "toolkit/CustomControl.h"

namespace controls {

struct TGridCoord {
  int Col, Row;
  bool operator==(const TGridCoord&) const = default;
};

// The selected range, inclusive on all sides.
struct TGridRect {
  int Left, Top, Right, Bottom;
  bool operator==(const TGridRect&) const = default;
};

class TStringGrid : public toolkit::TCustomControl {
 public:
  TStringGrid(int colCount, int rowCount, int fixedRows, int defaultRowHeight);
  void Create(HWND parent) override;
  // The gap between a cell's left line and its text, at dpi.
  void SetDpi(int dpi) override;
  // A dark scroll bar and frame in the dark scheme, as the drive list has.
  void ThemeChanged() override;

  int ColCount() const { return static_cast<int>(colWidths_.size()); }
  int RowCount() const { return static_cast<int>(rowHeights_.size()); }
  // Rows beyond the new count disappear with their texts; new rows are empty.
  void SetRowCount(int count);
  int FixedRows() const { return fixedRows_; }
  const std::wstring& Cell(int col, int row) const;
  // A screen reader hears the cells and rows whose names change (a value reads with its row's name),
  // once each after the changes of the message that made them.
  void SetCell(int col, int row, std::wstring text);
  int ColWidth(int col) const;
  void SetColWidth(int col, int width);
  int RowHeight(int row) const;
  void SetRowHeight(int row, int height);
  // Every row, and every row added later, takes this height.
  void SetDefaultRowHeight(int height);
  int GridLineWidth() const { return 1; }
  // Width of the client area, without the scroll bar when it shows.
  int ClientWidth() const;
  int TopRow() const { return topRow_; }
  TGridRect Selection() const;
  // The cell under a client point, or {-1, -1}.
  TGridCoord CellAt(int x, int y) const;

 protected:
  void Paint(HDC dc, const RECT& client) const override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // A table whose parts are the rows below the fixed ones, each with its cells: the texts, where
  // they show, and which are selected. An empty value of a named row reads "leer".
  toolkit::TAccElement AccDescribe(const toolkit::TAccPath& path) const override;
  int AccChildCount(const toolkit::TAccPath& path) const override;
  // The current cell while the table has the focus.
  toolkit::TAccPath AccFocus() const override;
  int ColLeft(int col) const;
  // Top of a row in client coordinates, for fixed rows and rows from TopRow on; -1 when scrolled off.
  int RowTop(int row) const;
  int ClientHeight() const;
  int LastTopRow() const;
  int VisibleRowsFrom(int topRow) const;
  // Column whose right border lies within a few pixels of x in the fixed rows, or -1.
  int SizingColumnAt(int x, int y) const;
  void SetTopRow(int row);
  void MoveCurrent(TGridCoord cell, bool extend);
  void MakeVisible(int row);
  void UpdateScrollBar();
  void KeyDown(WPARAM key);
  void Scroll(WORD request);
  // Names that changed, told to screen readers once each after the changes of one message.
  void NoteRenamed(const toolkit::TAccPath& path);
  void AnnounceRenamed();

  int fixedRows_;
  int defaultRowHeight_;
  int dpi_ = 96;
  bool darkScrollBar_ = false;
  std::vector<int> colWidths_;
  std::vector<int> rowHeights_;
  std::vector<std::vector<std::wstring>> cells_;  // [row][col]
  int topRow_;
  TGridCoord anchor_;
  TGridCoord current_;
  bool selecting_ = false;
  int sizingCol_ = -1;
  int wheelDelta_ = 0;  // the part of a notch not scrolled yet
  std::vector<toolkit::TAccPath> renamed_;
};

}  // namespace controls
