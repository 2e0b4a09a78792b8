// The colour schemes: which one drawing follows, and that every text stays readable in each.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cmath>

#include "tests/support/AppModeSetting.h"
#include "tests/support/SystemColors.h"
#include "toolkit/HighContrast.h"
#include "toolkit/Theme.h"

using toolkit::TRole;
using toolkit::TScheme;

using testing_support::TAppModeSetting;

namespace {

// WCAG 2's contrast ratio of two colours, 1 to 21.
double ContrastRatio(COLORREF a, COLORREF b) {
  const auto luminance = [](COLORREF c) {
    const auto channel = [](BYTE value) {
      const double v = value / 255.0;
      return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(GetRValue(c)) + 0.7152 * channel(GetGValue(c)) + 0.0722 * channel(GetBValue(c));
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace

TEST(Theme, TheAppModeIsReadAtAnnouncementsAndHighContrastWinsOverIt) {
  const toolkit::TForcedHighContrast noContrast(false);
  const struct {
    std::optional<DWORD> light;
    TScheme scheme;
  } settings[] = {
      {0, TScheme::Dark}, {1, TScheme::Light}, {std::nullopt, TScheme::Light}, {0, TScheme::Dark}};
  for (const auto& s : settings) {
    const TAppModeSetting setting(s.light);
    toolkit::ReadAppMode();
    EXPECT_EQ(toolkit::CurrentScheme(), s.scheme) << (s.light ? static_cast<int>(*s.light) : -1);
    TAppModeSetting::Set(s.light ? !*s.light : 0);
    EXPECT_EQ(toolkit::CurrentScheme(), s.scheme) << "kept until the next announcement";
    const toolkit::TForcedHighContrast contrast(true);
    EXPECT_EQ(toolkit::CurrentScheme(), TScheme::HighContrast);
  }
  toolkit::ReadAppMode();

  const struct {
    UINT message;
    const wchar_t* text;
    bool change;
  } announcements[] = {{WM_SETTINGCHANGE, L"ImmersiveColorSet", true},
                       {WM_SETTINGCHANGE, L"intl", false},
                       {WM_SETTINGCHANGE, nullptr, false},
                       {WM_SYSCOLORCHANGE, nullptr, true}};
  for (const auto& a : announcements)
    EXPECT_EQ(toolkit::IsColorSetChange(a.message, reinterpret_cast<LPARAM>(a.text)), a.change) << a.message;
}

TEST(Theme, EveryTextMeetsFourAndAHalfToOneAndTheGaugeBarThreeToOne) {
  EXPECT_NEAR(ContrastRatio(RGB(0, 0, 0), RGB(255, 255, 255)), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(RGB(119, 119, 119), RGB(255, 255, 255)), 4.48, 0.01);
  EXPECT_NEAR(ContrastRatio(RGB(0, 0, 255), RGB(255, 255, 0)), 8.0, 0.01);
  // Light is the system's colours: here Windows 10's defaults, whose own selection colours (white on
  // 0078D7, which the light scheme keeps as it is) reach 4.499:1. Dark is the program's own.
  const testing_support::TSystemColors windows10(
      {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT,
       COLOR_INFOBK, COLOR_INFOTEXT},
      {RGB(240, 240, 240), RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 120, 215),
       RGB(255, 255, 255), RGB(255, 255, 225), RGB(0, 0, 0)});
  for (const TScheme scheme : {TScheme::Light, TScheme::Dark}) {
    const toolkit::TPalette palette = toolkit::PaletteOf(scheme);
    for (const toolkit::TColorPair& pair : toolkit::DrawnPairs()) {
      const COLORREF fore = palette[static_cast<size_t>(pair.Fore)],
                     back = palette[static_cast<size_t>(pair.Back)];
      const bool windowsSelection = scheme == TScheme::Light && pair.Back == TRole::Highlight;
      EXPECT_GE(ContrastRatio(fore, back), windowsSelection ? 4.49 : pair.LeastRatio)
          << "scheme " << static_cast<int>(scheme) << ", role " << static_cast<int>(pair.Fore) << " on "
          << static_cast<int>(pair.Back) << ": " << std::hex << fore << " on " << back;
    }
  }
}
