// A panel: a plain or raised area that holds child controls and passes their notifications on to
// its parent, so that the form receives them.
#pragma once

#include "toolkit/Window.h"

namespace controls {

// None: flat; Raised: a raised edge; Framed: a lowered outer and a raised inner edge.
enum class TBevel { None, Raised, Framed };

class TPanel : public toolkit::TControl {
 public:
  explicit TPanel(TBevel bevel) : bevel_(bevel) {}
  void Create(HWND parent) override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // A pane named by what it holds.
  toolkit::TAccElement AccDescribe(const toolkit::TAccPath& path) const override;
  // The controls on the panel, each an object of its own.
  bool AccChildWindows() const override { return true; }
  TBevel bevel_;
};

}  // namespace controls
