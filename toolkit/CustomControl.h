// A control that draws itself: every paint goes to an off-screen image of the whole client area,
// and the screen receives one copy of it, so nothing flickers (unless the control draws without
// flicker on its own).
#pragma once

#include <windows.h>

#include "toolkit/Window.h"

namespace toolkit {

class TCustomControl : public TControl {
 public:
  // Draws the control as the screen shows it into dc, at (0, 0).
  void PaintTo(HDC dc) const;

 protected:
  // Draws the whole client area into dc.
  virtual void Paint(HDC dc, const RECT& client) const = 0;
  // True when Paint itself never shows a half-drawn picture (each pixel drawn once, or the whole
  // picture copied in one piece): the paint then goes to the screen without the off-screen image.
  virtual bool DrawsWithoutFlicker() const { return false; }
  // The font set with WM_SETFONT, or the default GUI font.
  HFONT Font() const;
  // Requests a deferred repaint.
  void Invalidate() const;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HFONT font_ = nullptr;
};

}  // namespace toolkit
