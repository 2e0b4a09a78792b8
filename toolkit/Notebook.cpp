#include "toolkit/Notebook.h"

#include <oleacc.h>

#include <iterator>

namespace toolkit {

namespace {
const wchar_t kNotebookClass[] = L"TkNotebook";
const wchar_t kPageClass[] = L"TkPage";
}  // namespace

void TPage::Create(HWND parent) {
  RegisterWindowClass(kPageClass, IDC_ARROW, GetSysColorBrush(COLOR_BTNFACE));
  // Hidden until the notebook shows it.
  CreateHandle(kPageClass, name_.c_str(), WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
               RECT{0, 0, 0, 0}, parent);
}

TAccElement TPage::AccDescribe(const TAccPath&) const {
  TAccElement page;
  page.Role = ROLE_SYSTEM_PROPERTYPAGE;
  page.Name = AccessibleName.empty() ? name_ : AccessibleName;
  return page;
}

TAccElement TNotebook::AccDescribe(const TAccPath&) const {
  TAccElement book;
  book.Role = ROLE_SYSTEM_GROUPING;
  book.Name = AccessibleName;
  if (pageIndex_ >= 0) {
    const TPage& page = *pages_[static_cast<size_t>(pageIndex_)];
    book.Value = page.AccessibleName.empty() ? page.Name() : page.AccessibleName;
  }
  return book;
}

TNotebook::TNotebook(const std::vector<std::wstring>& designPages) {
  for (const std::wstring& name : designPages) pages_.push_back(std::make_unique<TPage>(name));
}

void TNotebook::Create(HWND parent) {
  RegisterWindowClass(kNotebookClass, IDC_ARROW, GetSysColorBrush(COLOR_BTNFACE));
  CreateHandle(kNotebookClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
               RECT{0, 0, 0, 0}, parent);
}

TPage& TNotebook::AddPage(const std::wstring& name) {
  pages_.push_back(std::make_unique<TPage>(name));
  TPage& page = *pages_.back();
  if (Handle()) {
    page.Create(Handle());
    RECT client;
    GetClientRect(Handle(), &client);
    MoveWindow(page.Handle(), 0, 0, client.right, client.bottom, FALSE);
  }
  return page;
}

TPage* TNotebook::FindPageByCaption(const std::wstring& text, int count) {
  for (int i = 0; i < count && i < PageCount(); ++i) {
    TPage& page = Page(i);
    if (!page.Handle()) continue;
    wchar_t caption[256] = L"";
    GetWindowTextW(page.Handle(), caption, static_cast<int>(std::size(caption)));
    if (text == caption) return &page;
  }
  return nullptr;
}

void TNotebook::SetPageIndex(int index) {
  if (index < 0 || index >= PageCount() || index == pageIndex_) return;
  const int previous = pageIndex_;
  pageIndex_ = index;
  if (Page(index).Handle()) ShowWindow(Page(index).Handle(), SW_SHOWNA);
  if (previous >= 0 && Page(previous).Handle()) ShowWindow(Page(previous).Handle(), SW_HIDE);
  // A screen reader hears the turn: the notebook's value (the page's name) and the page now shown.
  NotifyValueChange(Handle());
  if (Page(index).Handle())
    NotifyWinEvent(EVENT_OBJECT_SELECTION, Page(index).Handle(), OBJID_CLIENT, CHILDID_SELF);
}

std::wstring TNotebook::ActivePage() const {
  return pageIndex_ >= 0 ? pages_[static_cast<size_t>(pageIndex_)]->Name() : std::wstring();
}

LRESULT TNotebook::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // Pages fill the notebook.
  if (message == WM_SIZE) {
    for (const auto& page : pages_)
      if (page->Handle()) MoveWindow(page->Handle(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    return 0;
  }
  return TControl::HandleMessage(message, wParam, lParam);
}

}  // namespace toolkit
