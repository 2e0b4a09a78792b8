// A vertical splitter bar: dragging it moves the border between the control on its left and the
// rest of its parent.
#pragma once

#include <functional>

#include "toolkit/Window.h"

namespace controls {

class TSplitter : public toolkit::TControl {
 public:
  void Create(HWND parent) override;
  // Asked with the distance the pointer moved; returns the distance it accepted (after limits).
  std::function<int(int delta)> OnMove;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // A separator ("Trennlinie" unless named otherwise).
  toolkit::TAccElement AccDescribe(const toolkit::TAccPath& path) const override;
  bool dragging_ = false;
  int lastScreenX_ = 0;
};

}  // namespace controls
