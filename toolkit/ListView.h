// Thin wrapper over the common controls' list view.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "toolkit/Window.h"

namespace tk {

class TListView {
 public:
  TListView(HWND parent, DWORD style, DWORD exStyle);
  HWND Handle() const { return window_.Handle(); }
  // The image list stays the caller's: the list view shares it and never destroys it.
  void SetImages(HIMAGELIST images);
  // Adds an item at the end; returns its index.
  int Add(const std::string& caption, int imageIndex);
  int Count() const;
  std::string Caption(int index) const;
  int ImageIndex(int index) const;
  // The selected item, or -1.
  int Selected() const;

 private:
  TSystemWindow window_;
};

}  // namespace tk
