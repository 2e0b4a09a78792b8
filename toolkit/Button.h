// The standard OK button: a push button with a check-mark glyph and the caption "OK", the default
// button of its form; a click, Enter or Esc ends the modal form with IDOK (Enter) or IDCANCEL (Esc).
#pragma once

#include "toolkit/Handles.h"
#include "toolkit/Window.h"

namespace toolkit {

class TOkButton : public TControl {
 public:
  // glyphResource: a bitmap whose magenta pixels are transparent.
  explicit TOkButton(const wchar_t* glyphResource) : glyphResource_(glyphResource) {}
  void Create(HWND parent) override;
  // The glyph as drawn for dpi.
  void SetDpi(int dpi) override;
  // The glyph in the scheme's colours: under high contrast the button's text colour, which differs
  // from the face the system draws.
  void ThemeChanged() override;
  // The system draws the button in light; in dark and high contrast it is drawn here, in the scheme's
  // colours.
  LRESULT CustomDraw(NMCUSTOMDRAW& draw) override;

 private:
  // Gives the button the glyph at the DPI in the current scheme.
  void SetGlyph();
  const wchar_t* glyphResource_;
  int dpi_ = 96;
  TImageList glyph_;
};

}  // namespace toolkit
