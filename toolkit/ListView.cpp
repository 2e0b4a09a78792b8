#include "toolkit/ListView.h"

#include <commctrl.h>

namespace tk {

namespace {
const UINT_PTR kPressWatch = 1;
}

TListView::~TListView() {
  if (Handle() && IsWindow(Handle())) RemoveWindowSubclass(Handle(), &TListView::WatchPresses, kPressWatch);
}

void TListView::Create(HWND parent) {
  CreateSystemHandle(WC_LISTVIEWA, WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_SHAREIMAGELISTS | style_,
                     exStyle_, parent);
  SetWindowSubclass(Handle(), &TListView::WatchPresses, kPressWatch, reinterpret_cast<DWORD_PTR>(this));
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
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, &TListView::WatchPresses, kPressWatch);
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

void TListView::SetImages(HIMAGELIST images) {
  SendMessageA(Handle(), LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
}

int TListView::Add(const std::string& caption, int imageIndex) {
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = Count();
  item.pszText = const_cast<char*>(caption.c_str());
  item.iImage = imageIndex;
  return static_cast<int>(SendMessageA(Handle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

int TListView::Count() const {
  return static_cast<int>(SendMessageA(Handle(), LVM_GETITEMCOUNT, 0, 0));
}

std::string TListView::Caption(int index) const {
  char buffer[256] = "";
  LVITEMA item{};
  item.iSubItem = 0;
  item.pszText = buffer;
  item.cchTextMax = sizeof(buffer);
  SendMessageA(Handle(), LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  return buffer;
}

int TListView::ImageIndex(int index) const {
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  if (!SendMessageA(Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return -1;
  return item.iImage;
}

int TListView::Focused() const {
  return static_cast<int>(SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void TListView::SetFocused(int index) {
  LVITEMA item{};
  item.stateMask = LVIS_FOCUSED;
  item.state = LVIS_FOCUSED;
  SendMessageA(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

int TListView::Selected() const {
  return static_cast<int>(SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

}  // namespace tk
