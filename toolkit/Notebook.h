// A notebook: a stack of named pages of which one shows at a time. Each page is a window whose
// caption is its name, so that its children can be found by that name.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "toolkit/Window.h"

namespace toolkit {

class TPage : public TControl {
 public:
  explicit TPage(std::wstring name) : name_(std::move(name)) {}
  void Create(HWND parent) override;
  const std::wstring& Name() const { return name_; }

 private:
  // A property page named by what it shows (AccessibleName, else its name).
  TAccElement AccDescribe(const TAccPath& path) const override;
  bool AccChildWindows() const override { return true; }
  std::wstring name_;
};

class TNotebook : public TControl {
 public:
  // The pages that the layout creates; further pages come with AddPage.
  explicit TNotebook(const std::vector<std::wstring>& designPages);
  void Create(HWND parent) override;

  int PageCount() const { return static_cast<int>(pages_.size()); }
  TPage& Page(int index) { return *pages_.at(static_cast<size_t>(index)); }
  // Appends a page; its window is made at once when the notebook's exists.
  TPage& AddPage(const std::wstring& name);
  // The first of the first count pages whose window caption is text, or null.
  TPage* FindPageByCaption(const std::wstring& text, int count);

  int PageIndex() const { return pageIndex_; }
  // Shows the page at index; an index outside the list is ignored.
  void SetPageIndex(int index);
  // The name of the page that shows; empty when none does.
  std::wstring ActivePage() const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // A grouping whose value is the name of the page that shows.
  TAccElement AccDescribe(const TAccPath& path) const override;
  bool AccChildWindows() const override { return true; }
  std::vector<std::unique_ptr<TPage>> pages_;
  int pageIndex_ = -1;
};

}  // namespace toolkit
