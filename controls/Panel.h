// A panel: a plain or raised area that holds child controls and passes their notifications on to
// its parent, so that the form receives them.
#pragma once

#include "toolkit/Window.h"

namespace controls {

class TPanel : public tk::TWindow {
 public:
  TPanel(HWND parent, bool raised);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool raised_;
};

}  // namespace controls
