// Thin wrapper over the common controls' list view.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "toolkit/Window.h"

namespace tk {

class TListView : public TControl {
 public:
  TListView(DWORD style, DWORD exStyle) : style_(style), exStyle_(exStyle) {}
  void Create(HWND parent) override;
  // The image list stays the caller's: the list view shares it and never destroys it.
  void SetImages(HIMAGELIST images);
  // Adds an item at the end; returns its index.
  int Add(const std::string& caption, int imageIndex);
  int Count() const;
  std::string Caption(int index) const;
  int ImageIndex(int index) const;
  // The selected item, or -1.
  int Selected() const;
  // Icon view: the system's icon spacing, widened where needed so that every caption shows whole on
  // one line under its icon, with margin pixels beside it (LVM_SETICONSPACING).
  void FitIconSpacing(int margin);

 private:
  DWORD style_;
  DWORD exStyle_;
};

}  // namespace tk
