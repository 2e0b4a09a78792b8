// The program's own help: its German text, an RTF resource of the executable, in a window with a
// read-only rich-edit control. One window at a time; a second request brings it to the front.
#pragma once

#include <memory>
#include <string>

#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/RichEdit.h"

namespace app {

// Where a window of the given outer size opens beside another window on a work area: on the side
// with more room, its top at the other's top, moved into the work area as far as it fits (so that
// on a narrow screen it covers as little of the other as it must), and made smaller where the work
// area is smaller than the window.
RECT PlaceBeside(const RECT& other, SIZE size, const RECT& work);

class THelpWindow : public toolkit::TForm {
 public:
  // owner: the window the help stays with and closes with.
  THelpWindow(HWND owner, bool preferMsftedit);
  void Create() override;
  const toolkit::TRichEdit& Editor() const { return editor_; }

 protected:
  void KeyDown(WORD& key, toolkit::TShiftState shift) override;
  void Resized() override;

 private:
  // Declared before the editor, so that the library outlives the control.
  toolkit::TLibrary library_;
  toolkit::TRichEdit editor_;
};

class TRichHelpViewer : public toolkit::THelpViewer {
 public:
  // False takes the older riched20 control even where msftedit is present.
  bool PreferMsftedit = true;
  bool ShowHelp(HWND owner, const std::wstring& helpFile, UINT command, ULONG_PTR data) override;
  // The open help window, or null.
  THelpWindow* Window() const;

 private:
  std::unique_ptr<THelpWindow> window_;
};

}  // namespace app
