// The colour schemes: which one drawing follows, and that every text stays readable in each.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "resources/resource_ids.h"
#include "runtime/Text.h"
#include "tests/support/AppModeSetting.h"
#include "tests/support/HostForm.h"
#include "tests/support/SystemColors.h"
#include "toolkit/Art.h"
#include "toolkit/Handles.h"
#include "toolkit/HighContrast.h"
#include "toolkit/Hints.h"
#include "toolkit/ListView.h"
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

TEST(Theme, DarkKeepsTheArtsOutlinesVisibleAndEdgesWhole) {
  const toolkit::TForcedHighContrast noContrast(false);
  const toolkit::TForcedAppMode dark(true);
  const COLORREF face = toolkit::Color(TScheme::Dark, TRole::Face);
  // A DIB's pixel is 0x00RRGGBB.
  const auto pixels = [](HBITMAP image) {
    BITMAP info{};
    GetObjectW(image, sizeof(info), &info);
    const auto* bits = static_cast<const DWORD*>(info.bmBits);
    std::vector<COLORREF> colors;
    for (LONG i = 0; i < info.bmWidth * info.bmHeight; ++i)
      colors.push_back(RGB(bits[i] >> 16 & 0xFF, bits[i] >> 8 & 0xFF, bits[i] & 0xFF));
    return colors;
  };

  // The art's black, navy, blue and grey outline its glyphs: on the dark face each keeps 3:1, and a
  // drawn button's silver becomes the face.
  const COLORREF art[] = {RGB(0, 0, 0), RGB(0, 0, 128), RGB(0, 0, 255), RGB(128, 128, 128),
                          RGB(192, 192, 192)};
  const toolkit::TBitmap strip(toolkit::CreateMemoryImage(5, 1));
  {
    const toolkit::TMemoryDC dc(CreateCompatibleDC(nullptr));
    const toolkit::TSelectObject selected(dc.Get(), strip.Get());
    for (int i = 0; i < 5; ++i) SetPixel(dc.Get(), i, 0, art[i]);
  }
  const toolkit::TBitmap darkStrip = toolkit::SchemeArt(strip.Get(), TScheme::Dark);
  ASSERT_TRUE(darkStrip);
  const std::vector<COLORREF> mapped = pixels(darkStrip.Get());
  for (int i = 0; i < 4; ++i)
    EXPECT_GE(ContrastRatio(mapped[static_cast<size_t>(i)], face), 3.0) << std::hex << art[i];
  EXPECT_EQ(mapped[4], face);
  // A solid black body (the program's floppy disk) keeps 3:1 against the face, and its white details
  // 3:1 against the body.
  const toolkit::TBitmap solid =
      toolkit::SchemeArt(strip.Get(), TScheme::Dark, TRole::Text, toolkit::TArtStyle::Solid);
  const COLORREF body = pixels(solid.Get())[0];
  EXPECT_GE(ContrastRatio(body, face), 3.0) << std::hex << body;
  EXPECT_GE(ContrastRatio(body, RGB(255, 255, 255)), 3.0) << std::hex << body;

  // Both rings of a raised and a sunken edge are drawn on all four sides.
  for (const UINT edge : {UINT{EDGE_RAISED}, UINT{EDGE_SUNKEN}}) {
    const COLORREF unpainted = RGB(255, 0, 255);
    const toolkit::TBitmap image(toolkit::CreateMemoryImage(8, 8));
    {
      const toolkit::TMemoryDC dc(CreateCompatibleDC(nullptr));
      const toolkit::TSelectObject selected(dc.Get(), image.Get());
      const RECT all{0, 0, 8, 8};
      SetBkColor(dc.Get(), unpainted);
      ExtTextOutW(dc.Get(), 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
      toolkit::DrawThemedEdge(dc.Get(), all, edge);
    }
    const std::vector<COLORREF> drawn = pixels(image.Get());
    // Lit from the top left: a raised edge is lighter there than at the bottom right, a sunken one darker.
    EXPECT_EQ(GetGValue(drawn.front()) > GetGValue(drawn.back()), edge == EDGE_RAISED) << edge;
    for (int ring = 0; ring < 2; ++ring) {
      for (int along = ring; along < 8 - ring; ++along) {
        for (const POINT p :
             {POINT{along, ring}, POINT{ring, along}, POINT{along, 7 - ring}, POINT{7 - ring, along}})
          EXPECT_NE(drawn[static_cast<size_t>(p.y * 8 + p.x)], unpainted)
              << edge << " at " << p.x << "," << p.y;
      }
    }
  }
}

TEST(Theme, ATipMadeWhileDarkTakesTheDarkColours) {
  const toolkit::TForcedHighContrast noContrast(false);
  const toolkit::TForcedAppMode dark(true);
  const testing_support::TShown<testing_support::THostForm> form;
  const HWND control = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 40, 20, form.Handle(),
                                       nullptr, GetModuleHandleW(nullptr), nullptr);
  toolkit::THints hints;
  hints.Create(form.Handle());
  hints.Add(control, L"Tipp");
  SendMessageW(control, WM_MOUSEMOVE, 0, 0);  // the tip's window is made at the first move
  ASSERT_NE(hints.Handle(), nullptr);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(hints.Handle(), TTM_GETTIPBKCOLOR, 0, 0)),
            toolkit::Color(TScheme::Dark, TRole::TipBack));
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(hints.Handle(), TTM_GETTIPTEXTCOLOR, 0, 0)),
            toolkit::Color(TScheme::Dark, TRole::TipText));
}

TEST(Theme, AListMadeWhileDarkTakesTheDarkColoursForEveryItem) {
  const toolkit::TForcedHighContrast noContrast(false);
  const toolkit::TForcedAppMode dark(true);
  const testing_support::TShown<testing_support::THostForm> form;
  toolkit::TListView list(LVS_ICON, 0);
  list.Create(form.Handle());
  // Selected items draw in colours of their own; these are every other item's.
  const struct {
    UINT message;
    TRole role;
  } colours[] = {{LVM_GETBKCOLOR, TRole::Window},
                 {LVM_GETTEXTCOLOR, TRole::WindowText},
                 {LVM_GETTEXTBKCOLOR, TRole::Window}};
  for (const auto& c : colours)
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list.Handle(), c.message, 0, 0)),
              toolkit::Color(TScheme::Dark, c.role))
        << c.message;
}

// Under Windows' high-contrast schemes the art takes two of the system's colours: its lines and
// strong colours the ink (the button text, or grey text when disabled), its fills the face, so that
// a glyph keeps its inner shapes; the transparent colour stays. Every text and the table's lines
// keep their ratios against what they lie on.
TEST(Theme, HighContrastDrawsTheArtAndTheLinesInTheSystemsColours) {
  const toolkit::TForcedHighContrast contrast(true);
  const COLORREF palette[] = {RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
                              RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
                              RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
                              RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};
  const char fills[] = "...y...s...Y.MCW";  // the fills, and M the transparent colour
  const toolkit::TBitmap strip(toolkit::CreateMemoryImage(16, 1));
  {
    const toolkit::TMemoryDC dc(CreateCompatibleDC(nullptr));
    const toolkit::TSelectObject selected(dc.Get(), strip.Get());
    for (int i = 0; i < 16; ++i) SetPixel(dc.Get(), i, 0, palette[i]);
  }
  for (const testing_support::TColorScheme* scheme :
       {&testing_support::HighContrastBlack(), &testing_support::HighContrastWhite()}) {
    const testing_support::TSystemColors colors(*scheme);
    for (const TRole ink : {TRole::Text, TRole::GrayText}) {
      const toolkit::TBitmap mapped = toolkit::SchemeArt(strip.Get(), TScheme::HighContrast, ink);
      ASSERT_TRUE(mapped);
      const toolkit::TMemoryDC dc(CreateCompatibleDC(nullptr));
      const toolkit::TSelectObject selected(dc.Get(), mapped.Get());
      for (int i = 0; i < 16; ++i) {
        const COLORREF expected = fills[i] == 'M' ? palette[i]
                                  : fills[i] == '.'
                                      ? GetSysColor(ink == TRole::Text ? COLOR_BTNTEXT : COLOR_GRAYTEXT)
                                      : GetSysColor(COLOR_BTNFACE);
        EXPECT_EQ(GetPixel(dc.Get(), i, 0), expected) << scheme->Name << " colour " << i;
      }
    }
    const toolkit::TPalette colours = toolkit::PaletteOf(TScheme::HighContrast);
    const auto ratio = [&](TRole fore, TRole back) {
      return ContrastRatio(colours[static_cast<size_t>(fore)], colours[static_cast<size_t>(back)]);
    };
    for (const toolkit::TColorPair& pair : toolkit::DrawnPairs())
      EXPECT_GE(ratio(pair.Fore, pair.Back), pair.LeastRatio)
          << scheme->Name << ": role " << static_cast<int>(pair.Fore) << " on "
          << static_cast<int>(pair.Back);
    EXPECT_GE(ratio(TRole::GridLine, TRole::Face), 3.0) << scheme->Name << ": the header's lines";
    EXPECT_GE(ratio(TRole::CellLine, TRole::Window), 3.0) << scheme->Name << ": the lines between cells";
    EXPECT_GE(ratio(TRole::GrayText, TRole::Face), 3.0) << scheme->Name << ": a disabled glyph";
  }
}

// In dark every part of the drive images that carries meaning (outlines, the network drive's stand
// and cable, slots, lights, the diskette, the memory module) keeps 3:1 against the dark list, at
// every drawn size; what is not so is a fill that takes the face, inside a light outline.
TEST(Theme, DarkKeepsEveryPartOfTheDriveImagesVisible) {
  const toolkit::TForcedHighContrast noContrast(false);
  const COLORREF list = toolkit::Color(TScheme::Dark, TRole::Window),
                 face = toolkit::Color(TScheme::Dark, TRole::Face);
  for (const wchar_t* name :
       {RES_DRIVE_REMOVABLE, RES_DRIVE_FIXED, RES_DRIVE_RAMDISK, RES_DRIVE_REMOTE, RES_DRIVE_CDROM}) {
    for (const int dpi : {96, 120, 144}) {
      const toolkit::TBitmap drawn = toolkit::LoadArt(name, dpi);
      const toolkit::TBitmap dark = toolkit::SchemeArt(drawn.Get(), TScheme::Dark);
      ASSERT_TRUE(dark) << dpi;
      BITMAP info{};
      GetObjectW(dark.Get(), sizeof(info), &info);
      const toolkit::TMemoryDC dc(CreateCompatibleDC(nullptr));
      const toolkit::TSelectObject selected(dc.Get(), dark.Get());
      int parts = 0;
      for (int y = 0; y < info.bmHeight; ++y)
        for (int x = 0; x < info.bmWidth; ++x) {
          const COLORREF pixel = GetPixel(dc.Get(), x, y);
          if (pixel == RGB(255, 0, 255) || pixel == face) continue;
          ++parts;
          EXPECT_GE(ContrastRatio(pixel, list), 3.0)
              << runtime::Cp1252FromWide(name) << " at " << dpi << " dpi, " << x << "," << y << ": "
              << std::hex << pixel;
        }
      EXPECT_GT(parts, 50) << runtime::Cp1252FromWide(name);
    }
  }
}
