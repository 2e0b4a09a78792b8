#include "controls/StringGrid.h"

#include <oleacc.h>
#include <windowsx.h>

#include <algorithm>

#include "runtime/Errors.h"
#include "runtime/Text.h"
#include "toolkit/Dpi.h"
#include "toolkit/Handles.h"
#include "toolkit/Theme.h"

namespace controls {

namespace {
const wchar_t kStringGridClass[] = L"TkStringGrid";
// How close to a column border (in pixels) the pointer must be to drag it.
const int kSizingMargin = 2;
const int kMinColWidth = 0;
// The gap between a cell's left line and its text (96 dpi).
const int kCellPadding = 2;
// Posted at the first name change since the last announcement: the changes of a whole refresh are
// announced once each, after it.
const UINT kRenamedMessage = WM_USER + 1;
// What a screen reader says for a value that is empty.
const wchar_t kEmptyValue[] = L"leer";

// The list's element at the index; an index outside the list is the caller's error.
template <typename List>
auto& Checked(List& list, int index, const wchar_t* what) {
  if (index < 0 || static_cast<size_t>(index) >= list.size())
    throw runtime::EListError(std::wstring(L"Ungültiger ") + what + L"-Index (" +
                              runtime::DecimalText(index) + L")");
  return list[static_cast<size_t>(index)];
}
}  // namespace

TStringGrid::TStringGrid(int colCount, int rowCount, int fixedRows, int defaultRowHeight)
    : fixedRows_(fixedRows),
      defaultRowHeight_(defaultRowHeight),
      colWidths_(static_cast<size_t>(colCount), 64),
      topRow_(fixedRows),
      anchor_{0, fixedRows},
      current_{0, fixedRows} {
  SetRowCount(rowCount);
}

void TStringGrid::Create(HWND parent) {
  RegisterWindowClass(kStringGridClass, IDC_ARROW, nullptr, CS_DBLCLKS);
  CreateHandle(kStringGridClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL, WS_EX_CLIENTEDGE,
               RECT{0, 0, 0, 0}, parent);
  UpdateScrollBar();
  if (toolkit::CurrentScheme() == toolkit::TScheme::Dark) ThemeChanged();
}

void TStringGrid::SetDpi(int dpi) {
  dpi_ = dpi;
  Invalidate();
}

void TStringGrid::ThemeChanged() {
  // Windows' dark scroll bars come with the dark explorer theme; the frame is drawn at WM_NCPAINT.
  const bool dark = toolkit::CurrentScheme() == toolkit::TScheme::Dark;
  if (dark != darkScrollBar_) toolkit::SetDarkScrollBars(Handle(), dark);
  darkScrollBar_ = dark;
}

void TStringGrid::SetRowCount(int count) {
  count = std::max(count, fixedRows_ + 1);
  const bool changed = static_cast<size_t>(count) != rowHeights_.size();
  rowHeights_.resize(static_cast<size_t>(count), defaultRowHeight_);
  cells_.resize(static_cast<size_t>(count), std::vector<std::wstring>(colWidths_.size()));
  const int last = count - 1;
  anchor_.Row = std::min(anchor_.Row, last);
  current_.Row = std::min(current_.Row, last);
  topRow_ = std::clamp(topRow_, fixedRows_, std::max(fixedRows_, LastTopRow()));
  UpdateScrollBar();
  Invalidate();
  // A screen reader reads the rows anew.
  if (changed && Handle()) NotifyWinEvent(EVENT_OBJECT_REORDER, Handle(), OBJID_CLIENT, CHILDID_SELF);
}

const std::wstring& TStringGrid::Cell(int col, int row) const {
  return Checked(Checked(cells_, row, L"Zeilen"), col, L"Spalten");
}

void TStringGrid::SetCell(int col, int row, std::wstring text) {
  std::wstring& cell = Checked(Checked(cells_, row, L"Zeilen"), col, L"Spalten");
  if (cell == text) return;
  cell = std::move(text);
  Invalidate();
  if (!Handle() || row < fixedRows_) return;
  // The row's name changes, and the cell's; a row name is part of each of its values' names.
  const toolkit::TAccPath rowPath = toolkit::TAccPath().Child(row - fixedRows_);
  NoteRenamed(rowPath);
  for (int c = 0; c < ColCount(); ++c)
    if (c == col || col == 0) NoteRenamed(rowPath.Child(c));
}

void TStringGrid::NoteRenamed(const toolkit::TAccPath& path) {
  if (std::find(renamed_.begin(), renamed_.end(), path) != renamed_.end()) return;
  if (renamed_.empty()) PostMessageW(Handle(), kRenamedMessage, 0, 0);
  renamed_.push_back(path);
}

void TStringGrid::AnnounceRenamed() {
  const std::vector<toolkit::TAccPath> renamed = std::move(renamed_);
  renamed_.clear();
  for (const toolkit::TAccPath& path : renamed)
    if (fixedRows_ + path[0] < RowCount()) toolkit::NotifyNameChange(Handle(), path);
}

int TStringGrid::ColWidth(int col) const {
  return Checked(colWidths_, col, L"Spalten");
}

void TStringGrid::SetColWidth(int col, int width) {
  Checked(colWidths_, col, L"Spalten") = std::max(kMinColWidth, width);
  Invalidate();
}

int TStringGrid::RowHeight(int row) const {
  return Checked(rowHeights_, row, L"Zeilen");
}

void TStringGrid::SetRowHeight(int row, int height) {
  Checked(rowHeights_, row, L"Zeilen") = std::max(0, height);
  UpdateScrollBar();
  Invalidate();
}

void TStringGrid::SetDefaultRowHeight(int height) {
  defaultRowHeight_ = std::max(0, height);
  std::fill(rowHeights_.begin(), rowHeights_.end(), defaultRowHeight_);
  UpdateScrollBar();
  Invalidate();
}

int TStringGrid::ClientWidth() const {
  RECT client{};
  if (Handle()) GetClientRect(Handle(), &client);
  return client.right;
}

int TStringGrid::ClientHeight() const {
  RECT client{};
  if (Handle()) GetClientRect(Handle(), &client);
  return client.bottom;
}

TGridRect TStringGrid::Selection() const {
  return {std::min(anchor_.Col, current_.Col), std::min(anchor_.Row, current_.Row),
          std::max(anchor_.Col, current_.Col), std::max(anchor_.Row, current_.Row)};
}

int TStringGrid::AccChildCount(const toolkit::TAccPath& path) const {
  if (path.empty()) return RowCount() - fixedRows_;
  return path.size() == 1 ? ColCount() : 0;
}

toolkit::TAccPath TStringGrid::AccFocus() const {
  if (current_.Row < fixedRows_ || current_.Row >= RowCount() || current_.Col >= ColCount()) return {};
  return toolkit::TAccPath().Child(current_.Row - fixedRows_).Child(current_.Col);
}

toolkit::TAccElement TStringGrid::AccDescribe(const toolkit::TAccPath& path) const {
  toolkit::TAccElement element;
  if (path.empty()) {
    element.Role = ROLE_SYSTEM_TABLE;
    element.Name = AccessibleName;
    element.State = STATE_SYSTEM_READONLY;
    return element;
  }
  const int row = fixedRows_ + path[0];
  if (row >= RowCount()) return element;
  const int top = RowTop(row);
  const int height = rowHeights_[static_cast<size_t>(row)];
  const unsigned long shown =
      top < 0 || top >= ClientHeight() ? STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN : 0;
  const auto& cells = cells_[static_cast<size_t>(row)];
  if (path.size() == 1) {
    element.Role = ROLE_SYSTEM_ROW;
    // A row reads as its texts: "Laufwerkstyp: Festplatte", "Volume-Name: leer".
    for (size_t c = 0; c < cells.size(); ++c) {
      const std::wstring& text = cells[c].empty() && c > 0 && !cells.front().empty() ? kEmptyValue : cells[c];
      if (text.empty()) continue;
      if (!element.Name.empty()) element.Name += L": ";
      element.Name += text;
    }
    element.State = STATE_SYSTEM_READONLY | shown;
    if (!shown) element.Bounds = RECT{0, top, ColLeft(ColCount()), top + height};
    return element;
  }
  const int col = path[1];
  if (col >= ColCount()) return element;
  element.Role = ROLE_SYSTEM_CELL;
  element.Name = cells[static_cast<size_t>(col)];
  // A value reads with its row's name, as a screen reader announces the cell the mark moves to:
  // "Laufwerkstyp: Festplatte", and an empty one as empty: "Volume-Name: leer".
  if (col > 0 && !cells.front().empty())
    element.Name = cells.front() + L": " + (element.Name.empty() ? kEmptyValue : element.Name);
  const TGridRect selection = Selection();
  const bool selected =
      col >= selection.Left && col <= selection.Right && row >= selection.Top && row <= selection.Bottom;
  element.State =
      STATE_SYSTEM_READONLY | STATE_SYSTEM_SELECTABLE | shown | (selected ? STATE_SYSTEM_SELECTED : 0);
  if (TGridCoord{col, row} == current_ && GetFocus() == Handle()) element.State |= STATE_SYSTEM_FOCUSED;
  if (!shown) {
    const int left = ColLeft(col);
    element.Bounds = RECT{left, top, left + colWidths_[static_cast<size_t>(col)], top + height};
  }
  return element;
}

int TStringGrid::ColLeft(int col) const {
  int x = 0;
  for (int c = 0; c < col; ++c) x += colWidths_[static_cast<size_t>(c)] + GridLineWidth();
  return x;
}

int TStringGrid::RowTop(int row) const {
  int y = 0;
  for (int r = 0; r < fixedRows_ && r < row; ++r) y += rowHeights_[static_cast<size_t>(r)] + GridLineWidth();
  if (row < fixedRows_) return y;
  if (row < topRow_) return -1;
  for (int r = topRow_; r < row; ++r) y += rowHeights_[static_cast<size_t>(r)] + GridLineWidth();
  return y;
}

int TStringGrid::VisibleRowsFrom(int topRow) const {
  int space = ClientHeight();
  for (int r = 0; r < fixedRows_; ++r) space -= rowHeights_[static_cast<size_t>(r)] + GridLineWidth();
  int rows = 0;
  for (int r = topRow; r < RowCount(); ++r) {
    space -= rowHeights_[static_cast<size_t>(r)] + GridLineWidth();
    if (space < 0) break;
    ++rows;
  }
  return rows;
}

int TStringGrid::LastTopRow() const {
  // The highest top row from which the last row still shows completely.
  int top = RowCount() - 1;
  while (top > fixedRows_ && VisibleRowsFrom(top - 1) >= RowCount() - (top - 1)) --top;
  return std::max(fixedRows_, top);
}

TGridCoord TStringGrid::CellAt(int x, int y) const {
  TGridCoord cell{-1, -1};
  for (int c = 0, left = 0; c < ColCount(); ++c) {
    const int right = left + colWidths_[static_cast<size_t>(c)] + GridLineWidth();
    if (x >= left && x < right) cell.Col = c;
    left = right;
  }
  for (int r = 0; r < RowCount(); ++r) {
    const int top = RowTop(r);
    if (top < 0) continue;
    if (y >= top && y < top + rowHeights_[static_cast<size_t>(r)] + GridLineWidth()) cell.Row = r;
  }
  if (cell.Col < 0 || cell.Row < 0) return {-1, -1};
  return cell;
}

int TStringGrid::SizingColumnAt(int x, int y) const {
  int fixedHeight = 0;
  for (int r = 0; r < fixedRows_; ++r) fixedHeight += rowHeights_[static_cast<size_t>(r)] + GridLineWidth();
  if (y < 0 || y >= fixedHeight) return -1;
  // From the right: where borders lie together, a column of width 0 behind another can be grabbed.
  for (int c = ColCount() - 1; c >= 0; --c) {
    const int border = ColLeft(c) + colWidths_[static_cast<size_t>(c)];
    if (x >= border - kSizingMargin && x <= border + kSizingMargin) return c;
  }
  return -1;
}

void TStringGrid::SetTopRow(int row) {
  row = std::clamp(row, fixedRows_, LastTopRow());
  if (row == topRow_) return;
  topRow_ = row;
  UpdateScrollBar();
  Invalidate();
}

void TStringGrid::MakeVisible(int row) {
  if (row < fixedRows_) return;
  if (row < topRow_) {
    SetTopRow(row);
    return;
  }
  while (row >= topRow_ + std::max(1, VisibleRowsFrom(topRow_)) && topRow_ < LastTopRow())
    SetTopRow(topRow_ + 1);
}

void TStringGrid::MoveCurrent(TGridCoord cell, bool extend) {
  cell.Col = std::clamp(cell.Col, 0, ColCount() - 1);
  cell.Row = std::clamp(cell.Row, fixedRows_, RowCount() - 1);
  const bool moved = !(cell == current_);
  current_ = cell;
  if (!extend) anchor_ = cell;
  MakeVisible(cell.Row);
  Invalidate();
  // A screen reader announces the cell the mark moves to.
  if (moved && GetFocus() == Handle()) toolkit::NotifyFocus(Handle(), AccFocus());
}

void TStringGrid::UpdateScrollBar() {
  if (!Handle()) return;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = fixedRows_;
  info.nMax = RowCount() - 1;
  info.nPage = static_cast<UINT>(std::max(1, VisibleRowsFrom(topRow_)));
  info.nPos = topRow_;
  if (LastTopRow() == fixedRows_) info.nPage = static_cast<UINT>(info.nMax - info.nMin + 1);  // hides it
  SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
}

void TStringGrid::Scroll(WORD request) {
  const int page = std::max(1, VisibleRowsFrom(topRow_));
  switch (request) {
    case SB_LINEUP:
      SetTopRow(topRow_ - 1);
      break;
    case SB_LINEDOWN:
      SetTopRow(topRow_ + 1);
      break;
    case SB_PAGEUP:
      SetTopRow(topRow_ - page);
      break;
    case SB_PAGEDOWN:
      SetTopRow(topRow_ + page);
      break;
    case SB_TOP:
      SetTopRow(fixedRows_);
      break;
    case SB_BOTTOM:
      SetTopRow(LastTopRow());
      break;
    case SB_THUMBTRACK:  // the view follows the thumb while it is dragged
    case SB_THUMBPOSITION: {
      SCROLLINFO info{};
      info.cbSize = sizeof(info);
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(Handle(), SB_VERT, &info);
      SetTopRow(info.nTrackPos);
      break;
    }
    default:
      break;
  }
}

void TStringGrid::KeyDown(WPARAM key) {
  const bool extend = GetKeyState(VK_SHIFT) < 0;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  const int page = std::max(1, VisibleRowsFrom(topRow_));
  TGridCoord cell = current_;
  switch (key) {
    case VK_UP:
      --cell.Row;
      break;
    case VK_DOWN:
      ++cell.Row;
      break;
    case VK_LEFT:
      --cell.Col;
      break;
    case VK_RIGHT:
      ++cell.Col;
      break;
    case VK_PRIOR:
      cell.Row -= page;
      break;
    case VK_NEXT:
      cell.Row += page;
      break;
    case VK_HOME:
      (ctrl ? cell.Row : cell.Col) = 0;
      break;
    case VK_END:
      (ctrl ? cell.Row = RowCount() - 1 : cell.Col = ColCount() - 1);
      break;
    default:
      return;
  }
  MoveCurrent(cell, extend);
}

void TStringGrid::Paint(HDC dc, const RECT& client) const {
  using toolkit::TRole;
  const toolkit::TScheme scheme = toolkit::CurrentScheme();
  FillRect(dc, &client, toolkit::Brush(scheme, TRole::Window));
  toolkit::TSelectObject font(dc, Font());
  SetBkMode(dc, TRANSPARENT);
  // Text centred in its row, its gap to the left line scaled with the display.
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const int padding = toolkit::Scale(kCellPadding, dpi_);
  const TGridRect selection = Selection();
  const bool focused = GetFocus() == Handle();

  for (int r = 0; r < RowCount(); ++r) {
    const int top = RowTop(r);
    if (top < 0) continue;
    if (top >= client.bottom) break;
    const int height = rowHeights_[static_cast<size_t>(r)];
    for (int c = 0; c < ColCount(); ++c) {
      const int left = ColLeft(c);
      if (left >= client.right) break;
      const RECT cellRect{left, top, left + colWidths_[static_cast<size_t>(c)], top + height};
      const bool fixed = r < fixedRows_;
      const bool isCurrent = TGridCoord{c, r} == current_;
      const bool selected = !fixed && c >= selection.Left && c <= selection.Right && r >= selection.Top &&
                            r <= selection.Bottom && !(isCurrent && focused);
      const TRole back = fixed ? TRole::Face : selected ? TRole::Highlight : TRole::Window;
      FillRect(dc, &cellRect, toolkit::Brush(scheme, back));
      // Lines right of and below the cell: dark in the fixed rows, light between normal cells.
      const RECT vertical{cellRect.right, top, cellRect.right + GridLineWidth(),
                          top + height + GridLineWidth()};
      const RECT horizontal{left, cellRect.bottom, cellRect.right + GridLineWidth(),
                            cellRect.bottom + GridLineWidth()};
      HBRUSH line = toolkit::Brush(scheme, fixed ? TRole::GridLine : TRole::CellLine);
      FillRect(dc, &vertical, line);
      FillRect(dc, &horizontal, line);
      const std::wstring& text = cells_[static_cast<size_t>(r)][static_cast<size_t>(c)];
      if (!text.empty()) {
        SetTextColor(dc, toolkit::Color(scheme, selected ? TRole::HighlightText : TRole::WindowText));
        ExtTextOutW(dc, cellRect.left + padding, cellRect.top + (height - metrics.tmHeight) / 2, ETO_CLIPPED,
                    &cellRect, text.data(), static_cast<UINT>(text.size()), nullptr);
      }
      if (isCurrent && focused) DrawFocusRect(dc, &cellRect);
    }
  }
}

LRESULT TStringGrid::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      topRow_ = std::clamp(topRow_, fixedRows_, LastTopRow());
      UpdateScrollBar();
      Invalidate();
      return 0;
    case WM_SETFOCUS:
      Invalidate();
      // Tab into the table: a screen reader hears the cell the mark is on, after the system's own
      // focus event for the table, which comes before this message.
      toolkit::NotifyFocus(Handle(), AccFocus());
      return 0;
    case WM_KILLFOCUS:
      Invalidate();
      return 0;
    case kRenamedMessage:
      AnnounceRenamed();
      return 0;
    case WM_NCPAINT: {
      // The system draws the sunken frame in the light scheme's colours: in dark it is drawn over.
      const LRESULT result = TCustomControl::HandleMessage(message, wParam, lParam);
      if (toolkit::CurrentScheme() == toolkit::TScheme::Dark) {
        RECT outer;
        GetWindowRect(Handle(), &outer);
        const toolkit::TWindowDC dc(Handle(), true);
        toolkit::DrawThemedEdge(dc.Get(), RECT{0, 0, outer.right - outer.left, outer.bottom - outer.top},
                                EDGE_SUNKEN);
      }
      return result;
    }
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      KeyDown(wParam);
      return 0;
    case WM_VSCROLL:
      Scroll(LOWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL: {
      // Touchpads send parts of a notch: they add up until a whole one scrolls.
      wheelDelta_ += GET_WHEEL_DELTA_WPARAM(wParam);
      const int notches = wheelDelta_ / WHEEL_DELTA;
      wheelDelta_ -= notches * WHEEL_DELTA;
      if (notches) SetTopRow(topRow_ - notches * 3);
      return 0;
    }
    case WM_SETCURSOR: {
      POINT p;
      GetCursorPos(&p);
      ScreenToClient(Handle(), &p);
      if (LOWORD(lParam) == HTCLIENT && (sizingCol_ >= 0 || SizingColumnAt(p.x, p.y) >= 0)) {
        SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
        return TRUE;
      }
      return TCustomControl::HandleMessage(message, wParam, lParam);
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      SetFocus(Handle());
      const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
      sizingCol_ = SizingColumnAt(x, y);
      const TGridCoord cell = CellAt(x, y);
      if (sizingCol_ < 0 && (cell.Row < fixedRows_ || cell.Col < 0)) return 0;
      SetCapture(Handle());
      if (sizingCol_ < 0) {
        selecting_ = true;
        MoveCurrent(cell, (wParam & MK_SHIFT) != 0);
      }
      return 0;
    }
    case WM_MOUSEMOVE: {
      const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
      if (sizingCol_ >= 0) {
        // The border stays inside the client area, where it can be grabbed again.
        SetColWidth(sizingCol_, std::min(x, ClientWidth() - GridLineWidth()) - ColLeft(sizingCol_));
      } else if (selecting_) {
        // Beyond the edges the selection keeps growing and the view scrolls along.
        TGridCoord cell = CellAt(std::clamp(x, 0, std::max(0, ClientWidth() - 1)),
                                 std::clamp(y, 0, std::max(0, ClientHeight() - 1)));
        if (y >= ClientHeight()) cell.Row = std::min(RowCount() - 1, current_.Row + 1);
        if (y < 0) cell.Row = std::max(fixedRows_, current_.Row - 1);
        if (cell.Col >= 0 && cell.Row >= fixedRows_ && !(cell == current_)) MoveCurrent(cell, true);
      }
      return 0;
    }
    case WM_LBUTTONUP:
      ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      selecting_ = false;
      sizingCol_ = -1;
      return 0;
    default:
      return TCustomControl::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace controls
