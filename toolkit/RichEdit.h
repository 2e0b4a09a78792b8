// A read-only rich-edit control that shows an RTF text: the newest control when msftedit.dll is
// there, riched20's otherwise. The caller keeps the library loaded while the control lives.
#pragma once

#include <string_view>

#include "toolkit/Handles.h"
#include "toolkit/Window.h"

namespace toolkit {

// Loads the rich-edit library and names its window class: msftedit's when preferred and present,
// riched20's otherwise; throws when neither loads.
const wchar_t* LoadRichEdit(bool preferMsftedit, TLibrary& library);

class TRichEdit : public TControl {
 public:
  explicit TRichEdit(const wchar_t* className) : className_(className) {}
  void Create(HWND parent) override;
  // Replaces the text with the RTF document.
  void LoadRtf(std::string_view rtf);
  // Page and text in the scheme's colours.
  void ThemeChanged() override;

 private:
  const wchar_t* className_;
  bool darkScrollBars_ = false;
};

}  // namespace toolkit
