#include "toolkit/Theme.h"

#include <iterator>
#include <optional>
#include <utility>
#include <vector>

#include "toolkit/Handles.h"
#include "toolkit/HighContrast.h"

namespace toolkit {

namespace {

constexpr size_t kRoles = static_cast<size_t>(TRole::Count);
constexpr auto kOwn = std::nullopt;  // no system colour: the program's own

// One row per role. Light: the system's colour, or the program's own (the link blue, and the gauge
// as the windows set it: blue on white, its text the area's colour inverted). High contrast: the
// system's colours throughout, the table's lines in the text colours (the face colours that light
// draws them in are the window's colour in "High Contrast Black"). Dark: close to Windows' own dark
// surfaces.
struct TRoleColors {
  TRole Role;
  std::optional<int> LightSystem;
  COLORREF LightOwn;
  int ContrastSystem;
  COLORREF Dark;
};
// clang-format off
constexpr TRoleColors kRoleColors[] = {
    {TRole::Face,           COLOR_BTNFACE,       0,                  COLOR_BTNFACE,       RGB(32, 32, 32)},
    {TRole::Text,           COLOR_BTNTEXT,       0,                  COLOR_BTNTEXT,       RGB(240, 240, 240)},
    {TRole::GrayText,       COLOR_GRAYTEXT,      0,                  COLOR_GRAYTEXT,      RGB(120, 120, 120)},
    {TRole::Window,         COLOR_WINDOW,        0,                  COLOR_WINDOW,        RGB(25, 25, 25)},
    {TRole::WindowText,     COLOR_WINDOWTEXT,    0,                  COLOR_WINDOWTEXT,    RGB(240, 240, 240)},
    {TRole::Highlight,      COLOR_HIGHLIGHT,     0,                  COLOR_HIGHLIGHT,     RGB(0, 95, 184)},
    {TRole::HighlightText,  COLOR_HIGHLIGHTTEXT, 0,                  COLOR_HIGHLIGHTTEXT, RGB(255, 255, 255)},
    {TRole::Link,           kOwn,                RGB(0, 0, 255),     COLOR_HOTLIGHT,      RGB(102, 178, 255)},
    {TRole::GridLine,       COLOR_BTNSHADOW,     0,                  COLOR_BTNTEXT,       RGB(90, 90, 90)},
    {TRole::CellLine,       COLOR_BTNFACE,       0,                  COLOR_WINDOWTEXT,    RGB(55, 55, 55)},
    {TRole::EdgeHighlight,  COLOR_BTNHIGHLIGHT,  0,                  COLOR_BTNHIGHLIGHT,  RGB(105, 105, 105)},
    {TRole::EdgeLight,      COLOR_3DLIGHT,       0,                  COLOR_3DLIGHT,       RGB(70, 70, 70)},
    {TRole::EdgeShadow,     COLOR_BTNSHADOW,     0,                  COLOR_BTNSHADOW,     RGB(20, 20, 20)},
    {TRole::EdgeDarkShadow, COLOR_3DDKSHADOW,    0,                  COLOR_3DDKSHADOW,    RGB(8, 8, 8)},
    {TRole::TipBack,        COLOR_INFOBK,        0,                  COLOR_INFOBK,        RGB(43, 43, 43)},
    {TRole::TipText,        COLOR_INFOTEXT,      0,                  COLOR_INFOTEXT,      RGB(240, 240, 240)},
    {TRole::GaugeFrame,     kOwn,                RGB(0, 0, 0),       COLOR_WINDOWTEXT,    RGB(140, 140, 140)},
    {TRole::GaugeTrack,     kOwn,                RGB(255, 255, 255), COLOR_WINDOW,        RGB(45, 45, 45)},
    {TRole::GaugeTrackText, kOwn,                RGB(0, 0, 0),       COLOR_WINDOWTEXT,    RGB(240, 240, 240)},
    {TRole::GaugeBar,       kOwn,                RGB(0, 0, 255),     COLOR_HIGHLIGHT,     RGB(76, 160, 255)},
    {TRole::GaugeBarText,   kOwn,                RGB(255, 255, 0),   COLOR_HIGHLIGHTTEXT, RGB(0, 0, 0)},
};
// clang-format on
static_assert(std::size(kRoleColors) == kRoles);

constexpr bool InRoleOrder() {
  for (size_t i = 0; i < kRoles; ++i)
    if (static_cast<size_t>(kRoleColors[i].Role) != i) return false;
  return true;
}
static_assert(InRoleOrder(), "one row per role, in the roles' order");

// The system colour of a role in light or high contrast; none where the colour is the program's own.
std::optional<int> SystemColorOf(TScheme scheme, const TRoleColors& colors) {
  return scheme == TScheme::Light ? colors.LightSystem : colors.ContrastSystem;
}

COLORREF ColorOf(TScheme scheme, TRole role) {
  const TRoleColors& colors = kRoleColors[static_cast<size_t>(role)];
  if (scheme == TScheme::Dark) return colors.Dark;
  const std::optional<int> system = SystemColorOf(scheme, colors);
  return system ? GetSysColor(*system) : colors.LightOwn;
}

constexpr TColorPair kPairs[] = {
    {TRole::Text, TRole::Face, 4.5},
    {TRole::WindowText, TRole::Window, 4.5},
    {TRole::HighlightText, TRole::Highlight, 4.5},
    {TRole::Link, TRole::Face, 4.5},
    {TRole::TipText, TRole::TipBack, 4.5},
    {TRole::GaugeTrackText, TRole::GaugeTrack, 4.5},
    {TRole::GaugeBarText, TRole::GaugeBar, 4.5},
    {TRole::GaugeBar, TRole::GaugeTrack, 3.0},
};

std::optional<bool> darkAppMode;  // as last read
std::optional<bool> forcedAppMode;

bool ReadDarkAppMode() {
  DWORD light = 1, size = sizeof(light);
  if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                   L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &light, &size) != ERROR_SUCCESS)
    return false;  // no setting: light, as Windows before the app mode
  return light == 0;
}

// A function of a library of the system, loaded at its first use and kept: only windows made dark
// need these, so a light start loads nothing.
template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (!module) module = LoadLibraryW(library);
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Lines one pixel wide along a rectangle's edges: top and left in one colour, bottom and right in
// the other.
void Frame(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
  // An opaque text output without text fills the rectangle in the background colour.
  const auto fill = [dc](const RECT& line) {
    ExtTextOutW(dc, line.left, line.top, ETO_OPAQUE, &line, nullptr, 0, nullptr);
  };
  const COLORREF old = SetBkColor(dc, topLeft);
  fill({r.left, r.top, r.right - 1, r.top + 1});
  fill({r.left, r.top, r.left + 1, r.bottom - 1});
  SetBkColor(dc, bottomRight);
  fill({r.left, r.bottom - 1, r.right, r.bottom});
  fill({r.right - 1, r.top, r.right, r.bottom});
  SetBkColor(dc, old);
}

COLORREF DarkArtColor(COLORREF color, TArtStyle style) {
  switch (color) {
    case RGB(0, 0, 0):
      // Lines light; a solid body grey enough for 3:1 against the face, dark enough for its white.
      return style == TArtStyle::Lines ? RGB(230, 230, 230) : RGB(112, 112, 112);
    case RGB(0, 0, 128):
      return RGB(120, 160, 255);
    case RGB(0, 0, 255):
      return RGB(100, 170, 255);
    case RGB(128, 128, 128):
      return RGB(160, 160, 160);
    case RGB(192, 192, 192):  // a drawn button's face
      return ColorOf(TScheme::Dark, TRole::Face);
    default:
      return color;
  }
}

// The art's fills, which high contrast draws in the face colour; everything else is a line or a
// strong colour and takes the ink.
bool IsArtFill(COLORREF color) {
  switch (color) {
    case RGB(255, 255, 255):
    case RGB(192, 192, 192):
    case RGB(128, 128, 0):
    case RGB(255, 255, 0):
    case RGB(0, 255, 255):
      return true;
    default:
      return false;
  }
}

}  // namespace

TPalette PaletteOf(TScheme scheme) {
  TPalette palette{};
  for (size_t i = 0; i < kRoles; ++i) palette[i] = ColorOf(scheme, static_cast<TRole>(i));
  return palette;
}

TScheme CurrentScheme() {
  if (HighContrast().On) return TScheme::HighContrast;
  return DarkAppMode() ? TScheme::Dark : TScheme::Light;
}

COLORREF Color(TRole role) {
  return ColorOf(CurrentScheme(), role);
}

COLORREF Color(TScheme scheme, TRole role) {
  return ColorOf(scheme, role);
}

HBRUSH Brush(TRole role) {
  return Brush(CurrentScheme(), role);
}

HBRUSH Brush(TScheme scheme, TRole role) {
  const std::optional<int> system = SystemColorOf(scheme, kRoleColors[static_cast<size_t>(role)]);
  if (scheme != TScheme::Dark && system) return GetSysColorBrush(*system);
  // Brushes of the program's own colours are made once and kept, as the system keeps its own.
  static std::vector<std::pair<COLORREF, TBrush>> made;
  const COLORREF color = ColorOf(scheme, role);
  for (const auto& [c, brush] : made)
    if (c == color) return brush.Get();
  made.emplace_back(color, TBrush(CreateSolidBrush(color)));
  return made.back().second.Get();
}

bool DarkAppMode() {
  if (forcedAppMode) return *forcedAppMode;
  if (!darkAppMode) darkAppMode = ReadDarkAppMode();
  return *darkAppMode;
}

void ReadAppMode() {
  darkAppMode = ReadDarkAppMode();
}

bool IsColorSetChange(UINT message, LPARAM lParam) {
  if (message == WM_SYSCOLORCHANGE) return true;
  if (message != WM_SETTINGCHANGE || !lParam) return false;
  return lstrcmpW(reinterpret_cast<const wchar_t*>(lParam), L"ImmersiveColorSet") == 0;
}

TForcedAppMode::TForcedAppMode(bool dark) : TForced(forcedAppMode, dark) {}

std::span<const TColorPair> DrawnPairs() {
  return kPairs;
}

void DrawThemedEdge(HDC dc, const RECT& rect, UINT edge) {
  RECT r = rect;
  if (CurrentScheme() != TScheme::Dark) {
    DrawEdge(dc, &r, edge, BF_RECT);
    return;
  }
  const auto color = [](TRole role) { return ColorOf(TScheme::Dark, role); };
  if (edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER)) {
    if (edge & BDR_RAISEDOUTER)
      Frame(dc, r, color(TRole::EdgeLight), color(TRole::EdgeDarkShadow));
    else
      Frame(dc, r, color(TRole::EdgeShadow), color(TRole::EdgeHighlight));
    InflateRect(&r, -1, -1);
  }
  if (edge & BDR_RAISEDINNER)
    Frame(dc, r, color(TRole::EdgeHighlight), color(TRole::EdgeShadow));
  else if (edge & BDR_SUNKENINNER)
    Frame(dc, r, color(TRole::EdgeDarkShadow), color(TRole::EdgeLight));
}

TBitmap SchemeArt(HBITMAP art, TScheme scheme, TRole ink, TArtStyle style) {
  BITMAP info{};
  if (scheme == TScheme::Light || !art || !GetObjectW(art, sizeof(info), &info)) return {};
  TBitmap copy(CreateMemoryImage(info.bmWidth, info.bmHeight));
  BITMAP bits{};
  if (!copy || !GetObjectW(copy.Get(), sizeof(bits), &bits) || !bits.bmBits) return {};
  {
    TMemoryDC from(CreateCompatibleDC(nullptr)), to(CreateCompatibleDC(nullptr));
    TSelectObject source(from.Get(), art), target(to.Get(), copy.Get());
    BitBlt(to.Get(), 0, 0, info.bmWidth, info.bmHeight, from.Get(), 0, 0, SRCCOPY);
  }
  GdiFlush();
  const COLORREF transparent = RGB(255, 0, 255);
  const COLORREF inkColor = ColorOf(scheme, ink), face = ColorOf(scheme, TRole::Face);
  auto* pixel = static_cast<DWORD*>(bits.bmBits);
  for (LONG i = 0, n = info.bmWidth * info.bmHeight; i < n; ++i) {
    // A DIB's pixel is 0x00RRGGBB, a COLORREF 0x00BBGGRR.
    const DWORD p = pixel[i];
    const COLORREF color = RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
    if (color == transparent) continue;
    const COLORREF mapped = scheme == TScheme::Dark ? DarkArtColor(color, style)
                            : IsArtFill(color)      ? face
                                                    : inkColor;
    pixel[i] = static_cast<DWORD>(GetRValue(mapped)) << 16 | static_cast<DWORD>(GetGValue(mapped)) << 8 |
               GetBValue(mapped);
  }
  return copy;
}

void SetDarkFrame(HWND window, bool dark) {
  using SetAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
  const auto set = SystemFunction<SetAttribute>(L"dwmapi.dll", "DwmSetWindowAttribute");
  if (!set) return;
  const BOOL value = dark;
  // The immersive dark mode attribute: 20 from Windows 10 20H1, 19 before.
  if (FAILED(set(window, 20, &value, sizeof(value)))) set(window, 19, &value, sizeof(value));
}

void SetDarkScrollBars(HWND window, bool dark) {
  using SetTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  if (const auto set = SystemFunction<SetTheme>(L"uxtheme.dll", "SetWindowTheme"))
    set(window, dark ? L"DarkMode_Explorer" : nullptr, nullptr);
}

}  // namespace toolkit
