// A top-level window with key preview: the form sees every key press before its focused control.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/Handles.h"
#include "toolkit/Window.h"

namespace tk {

enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using TShiftState = unsigned;
TShiftState CurrentShiftState();

class TForm : public TWindow {
 public:
  void Show();
  // Destroys the window; closing the main form ends the message loop.
  void Close();
  // The form's font, "MS Sans Serif" at 8 points.
  HFONT Font() const { return font_.Get(); }
  // The form that a window belongs to, or null.
  static TForm* OwningForm(HWND window);

  bool KeyPreview = false;
  // Key-down event, called through key preview; setting key to 0 swallows the key.
  virtual void KeyDown(WORD& key, TShiftState shift);

 protected:
  // Creates the window with its outer size, centred on the screen, so that a derived form can
  // create its components in its member initialisers.
  TForm(const char* caption, int width, int height);
  virtual void Resized() {}
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  TFont font_;
};

}  // namespace tk
