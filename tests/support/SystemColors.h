// System colours set for a test.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

namespace testing_support {

// A colour scheme of the system: colours of some of its elements.
struct TColorScheme {
  const char* Name;
  std::vector<int> Elements;
  std::vector<COLORREF> Colors;
};

// Windows 10's "High Contrast Black" and "High Contrast White", with the colours its settings page
// names (text, hyperlinks, disabled text, selected text and its background, button text and its
// background, background); tool tips take the window's colours there.
inline const std::vector<int> kHighContrastElements = {
    COLOR_WINDOW,        COLOR_WINDOWTEXT, COLOR_HOTLIGHT, COLOR_GRAYTEXT, COLOR_HIGHLIGHT,
    COLOR_HIGHLIGHTTEXT, COLOR_BTNFACE,    COLOR_BTNTEXT,  COLOR_INFOBK,   COLOR_INFOTEXT};
inline const TColorScheme& HighContrastBlack() {
  static const TColorScheme scheme{
      "contrast-black",
      kHighContrastElements,
      {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 255, 0), RGB(63, 242, 63), RGB(26, 235, 255), RGB(0, 0, 0),
       RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 255)}};
  return scheme;
}
inline const TColorScheme& HighContrastWhite() {
  static const TColorScheme scheme{
      "contrast-white",
      kHighContrastElements,
      {RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 159), RGB(96, 0, 0), RGB(55, 0, 110), RGB(255, 255, 255),
       RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0)}};
  return scheme;
}

// Sets system colours for the life of the object, and the earlier ones back at its end.
class TSystemColors {
 public:
  explicit TSystemColors(const TColorScheme& scheme) : TSystemColors(scheme.Elements, scheme.Colors) {}
  TSystemColors(std::vector<int> elements, std::vector<COLORREF> colors) : elements_(std::move(elements)) {
    for (int element : elements_) before_.push_back(GetSysColor(element));
    SetSysColors(static_cast<int>(elements_.size()), elements_.data(), colors.data());
  }
  ~TSystemColors() { SetSysColors(static_cast<int>(elements_.size()), elements_.data(), before_.data()); }
  TSystemColors(const TSystemColors&) = delete;
  TSystemColors& operator=(const TSystemColors&) = delete;

 private:
  std::vector<int> elements_;
  std::vector<COLORREF> before_;
};

}  // namespace testing_support
