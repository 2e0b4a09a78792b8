// Thin wrapper over the common controls' list view.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "toolkit/Window.h"

namespace toolkit {

class TListView : public TControl {
 public:
  TListView(DWORD style, DWORD exStyle) : style_(style), exStyle_(exStyle) {}
  ~TListView() override;
  void Create(HWND parent) override;
  // Background, text and selection in the scheme's colours, and dark scroll bars in dark.
  void ThemeChanged() override;
  LRESULT CustomDraw(NMCUSTOMDRAW& draw) override;
  // The image list stays the caller's: the list view shares it and never destroys it.
  void SetImages(HIMAGELIST images);
  // Adds an item at the end; returns its index.
  int Add(const std::wstring& caption, int imageIndex);
  // Inserts an item before the one at index (at the end for Count()); returns its index.
  int Insert(int index, const std::wstring& caption, int imageIndex);
  void SetItem(int index, const std::wstring& caption, int imageIndex);
  void Delete(int index);
  int Count() const;
  std::wstring Caption(int index) const;
  int ImageIndex(int index) const;
  // The selected item, or -1.
  int Selected() const;
  // Icon view: the system's icon spacing, widened where needed so that every caption shows whole on
  // one line under its icon, with margin pixels beside it (LVM_SETICONSPACING).
  void FitIconSpacing(int margin);
  // The item with the focus mark, or -1; SetFocused moves the mark without selecting.
  int Focused() const;
  void SetFocused(int index);
  // Selects the item and puts the focus mark on it.
  void Select(int index);
  // Mouse presses on the view so far, and whether the view is handling one now: a notification
  // tells by these whether a press or a key caused it.
  unsigned Presses() const { return presses_; }
  bool InPress() const { return inPress_; }

 private:
  static LRESULT CALLBACK WatchPresses(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR self);
  DWORD style_;
  DWORD exStyle_;
  unsigned presses_ = 0;
  bool inPress_ = false;
  bool darkScrollBars_ = false;
};

}  // namespace toolkit
