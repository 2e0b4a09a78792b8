#include "toolkit/ListView.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "toolkit/Handles.h"
#include "toolkit/Theme.h"

namespace toolkit {

namespace {
const UINT_PTR kPressWatch = 1;
}

TListView::~TListView() {
  if (Handle() && IsWindow(Handle())) RemoveWindowSubclass(Handle(), &TListView::WatchPresses, kPressWatch);
}

void TListView::Create(HWND parent) {
  CreateSystemHandle(WC_LISTVIEWW, WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_SHAREIMAGELISTS | style_,
                     exStyle_, parent);
  SetWindowSubclass(Handle(), &TListView::WatchPresses, kPressWatch, reinterpret_cast<DWORD_PTR>(this));
  if (CurrentScheme() == TScheme::Dark) ThemeChanged();
}

void TListView::ThemeChanged() {
  // Light and high contrast: the view's own defaults, which are the system's colours.
  const bool dark = CurrentScheme() == TScheme::Dark;
  SendMessageW(Handle(), LVM_SETBKCOLOR, 0, static_cast<LPARAM>(Color(TRole::Window)));
  SendMessageW(Handle(), LVM_SETTEXTCOLOR, 0,
               static_cast<LPARAM>(dark ? Color(TRole::WindowText) : CLR_DEFAULT));
  SendMessageW(Handle(), LVM_SETTEXTBKCOLOR, 0,
               static_cast<LPARAM>(dark ? Color(TRole::Window) : CLR_DEFAULT));
  if (dark != darkScrollBars_) SetDarkScrollBars(Handle(), dark);
  darkScrollBars_ = dark;
}

LRESULT TListView::CustomDraw(NMCUSTOMDRAW& draw) {
  // The view draws a selected item in the system's selection colours whatever colours it is given,
  // unless the item is told unselected: dark has colours of its own. Under high contrast the
  // selection without the focus would take the face colour, which is the list's in High Contrast
  // Black: it keeps the selection colours.
  const TScheme scheme = CurrentScheme();
  if (scheme == TScheme::Light) return CDRF_DODEFAULT;
  if (draw.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.dwDrawStage == CDDS_ITEMPREPAINT && (draw.uItemState & CDIS_SELECTED)) {
    auto& item = reinterpret_cast<NMLVCUSTOMDRAW&>(draw);
    draw.uItemState &= ~static_cast<UINT>(CDIS_SELECTED);
    const bool highlighted = GetFocus() == Handle() || scheme == TScheme::HighContrast;
    item.clrText = Color(scheme, highlighted ? TRole::HighlightText : TRole::Text);
    item.clrTextBk = Color(scheme, highlighted ? TRole::Highlight : TRole::Face);
  }
  return CDRF_DODEFAULT;
}

LRESULT CALLBACK TListView::WatchPresses(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data) {
  auto* self = reinterpret_cast<TListView*>(data);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: {
      ++self->presses_;
      self->inPress_ = true;
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      self->inPress_ = false;
      return result;
    }
    case WM_NCPAINT: {
      // The system draws the sunken edge in the light scheme's colours: in dark it is drawn over.
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      if (CurrentScheme() == TScheme::Dark && (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) {
        RECT outer;
        GetWindowRect(window, &outer);
        const TWindowDC dc(window, true);
        DrawThemedEdge(dc.Get(), RECT{0, 0, outer.right - outer.left, outer.bottom - outer.top}, EDGE_SUNKEN);
      }
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, &TListView::WatchPresses, kPressWatch);
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

void TListView::SetImages(HIMAGELIST images) {
  SendMessageW(Handle(), LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
}

int TListView::Add(const std::wstring& caption, int imageIndex) {
  return Insert(Count(), caption, imageIndex);
}

int TListView::Insert(int index, const std::wstring& caption, int imageIndex) {
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = index;
  item.pszText = const_cast<wchar_t*>(caption.c_str());
  item.iImage = imageIndex;
  return static_cast<int>(SendMessageW(Handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void TListView::SetItem(int index, const std::wstring& caption, int imageIndex) {
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = index;
  item.pszText = const_cast<wchar_t*>(caption.c_str());
  item.iImage = imageIndex;
  SendMessageW(Handle(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void TListView::Delete(int index) {
  SendMessageW(Handle(), LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
}

int TListView::Count() const {
  return static_cast<int>(SendMessageW(Handle(), LVM_GETITEMCOUNT, 0, 0));
}

std::wstring TListView::Caption(int index) const {
  wchar_t buffer[256] = L"";
  LVITEMW item{};
  item.iSubItem = 0;
  item.pszText = buffer;
  item.cchTextMax = static_cast<int>(std::size(buffer));
  SendMessageW(Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  return buffer;
}

int TListView::ImageIndex(int index) const {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  if (!SendMessageW(Handle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return -1;
  return item.iImage;
}

int TListView::Focused() const {
  return static_cast<int>(SendMessageW(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void TListView::SetFocused(int index) {
  LVITEMW item{};
  item.stateMask = LVIS_FOCUSED;
  item.state = LVIS_FOCUSED;
  SendMessageW(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void TListView::Select(int index) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

int TListView::Selected() const {
  return static_cast<int>(SendMessageW(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TListView::FitIconSpacing(int margin) {
  // -1 in both halves: the spacing of the current images and font.
  SendMessageW(Handle(), LVM_SETICONSPACING, 0, static_cast<LPARAM>(-1));
  const DWORD spacing = static_cast<DWORD>(SendMessageW(Handle(), LVM_GETITEMSPACING, FALSE, 0));
  int widest = 0, widestItem = -1;
  HDC dc = GetDC(Handle());
  {
    const TSelectObject font(dc, reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)));
    for (int i = 0; i < Count(); ++i) {
      const std::wstring caption = Caption(i);
      SIZE extent{};
      GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
      if (extent.cx > widest) widest = extent.cx, widestItem = i;
    }
  }
  ReleaseDC(Handle(), dc);
  // The list view keeps part of the spacing for itself: its own label rectangle tells how much.
  int width = LOWORD(spacing);
  for (int round = 0; widestItem >= 0 && round < 4; ++round) {
    RECT label{};
    label.left = LVIR_LABEL;
    SendMessageW(Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(widestItem),
                 reinterpret_cast<LPARAM>(&label));
    const int missing = widest + margin - (label.right - label.left);
    if (missing <= 0) break;
    width += missing;
    SendMessageW(Handle(), LVM_SETICONSPACING, 0, MAKELPARAM(width, HIWORD(spacing)));
  }
}

}  // namespace toolkit
