// A panel: a plain or raised area that holds child controls and passes their notifications on to
// its parent, so that the form receives them.
#pragma once

#include "toolkit/Window.h"

namespace controls {

class TPanel : public tk::TControl {
 public:
  explicit TPanel(bool raised) : raised_(raised) {}
  void Create(HWND parent) override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool raised_;
};

}  // namespace controls
