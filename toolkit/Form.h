// A top-level window with key preview: the form sees every key press before its focused control.
// It shows either modeless (the main form) or modally, with a message loop of its own that still
// passes every message through the application's message processing.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/Fonts.h"
#include "toolkit/Handles.h"
#include "toolkit/Window.h"

namespace toolkit {

enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using TShiftState = unsigned;
TShiftState CurrentShiftState();

enum class TFormBorder {
  Sizeable,  // caption, system menu, minimise and maximise boxes, sizing frame
  Dialog,    // caption and system menu with a fixed frame
};

struct TFormSettings {
  const wchar_t* Caption;
  int Width, Height;  // client size at 96 dpi: the frame takes what the system's frame style needs
  TFormBorder Border = TFormBorder::Sizeable;
  // The scalable face of the classic interface font, 8 points at 96 dpi.
  TFontStyle Font = {L"Microsoft Sans Serif", 11};
  // The least client size the user can size a sizeable form to, at 96 dpi; 0: the system's.
  int MinWidth = 0, MinHeight = 0;
};

// Where a window of the given outer size opens on a work area: centred, and no larger than the work
// area, where it is made smaller.
RECT CentredIn(SIZE size, const RECT& work);
// The work area of the monitor that a window belongs to (its owner's, or the primary one).
RECT WorkAreaOf(HWND window);

class TForm : public TWindow {
 public:
  // Creates the window, centred on the work area of its owner's monitor (the primary one without an
  // owner) and made smaller where that is smaller; a derived form then creates its components.
  virtual void Create();
  void Show();
  // Shows the form modally: its owner is disabled until ModalResult becomes non-zero or the
  // window is destroyed. Returns ModalResult; the window stays created, hidden.
  int ShowModal();
  // Destroys the window; closing the main form ends the message loop. A modal form is not
  // destroyed: its modal result becomes IDCANCEL.
  void Close();
  // The form's font, "Microsoft Sans Serif" at 8 points unless the settings name another, at Dpi().
  HFONT Font() const { return font_.Get(); }
  // Pixels per inch of the form's monitor: set when the window is made and when it moves to a
  // monitor of another scaling (96 before the window exists).
  int Dpi() const { return dpi_; }
  // The control that gets the focus when the form is shown; none by default.
  HWND ActiveControl = nullptr;
  // The form that a window belongs to, or null.
  static TForm* OwningForm(HWND window);

  // A screen reader reads the form by its caption and reaches every shown control in it.
  TAccElement AccDescribe(const TAccPath& path) const override;
  bool AccChildWindows() const override { return true; }

  // A dark title bar in the dark scheme.
  void ThemeChanged() override;

  bool KeyPreview = false;
  int ModalResult = 0;
  // Key-down and character events, called through key preview; setting key to 0 swallows it.
  virtual void KeyDown(WORD& key, TShiftState shift);
  virtual void KeyPress(wchar_t& key);

 protected:
  // owner: the window this form stays above (a dialog's owner is disabled while it is modal).
  explicit TForm(const TFormSettings& settings, HWND owner = nullptr);
  virtual void Resized() {}
  // Called when the form has moved to a monitor of another DPI, with Dpi() and Font() new and the
  // form at the size Windows suggested: components take their fonts and sizes.
  virtual void DpiChanged() {}
  // Called by Show and ShowModal before the form becomes visible.
  virtual void BeforeShow() {}
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Takes the DPI and makes the form's font for it.
  void SetDpi(int dpi);

  TFormSettings settings_;
  HWND owner_;
  bool modal_ = false;
  // The control that had the focus when the form was last deactivated.
  HWND lastFocus_ = nullptr;
  int dpi_ = 96;
  TFont font_;
  bool darkFrame_ = false;
};

}  // namespace toolkit
