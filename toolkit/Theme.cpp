#include "toolkit/Theme.h"

#include <utility>
#include <vector>

#include "toolkit/Handles.h"
#include "toolkit/HighContrast.h"

namespace toolkit {

namespace {

constexpr size_t kRoles = static_cast<size_t>(TRole::Count);
constexpr int kLiteral = -1;

// Light: the system's colour for each role, or a colour of the program's own (the link blue and the
// gauge as the windows set it: blue on white, the text the area's colour inverted).
constexpr std::array<int, kRoles> kLightSystem = {COLOR_BTNFACE,
                                                  COLOR_BTNTEXT,
                                                  COLOR_GRAYTEXT,
                                                  COLOR_WINDOW,
                                                  COLOR_WINDOWTEXT,
                                                  COLOR_HIGHLIGHT,
                                                  COLOR_HIGHLIGHTTEXT,
                                                  kLiteral,
                                                  COLOR_BTNSHADOW,
                                                  COLOR_BTNFACE,
                                                  COLOR_BTNHIGHLIGHT,
                                                  COLOR_3DLIGHT,
                                                  COLOR_BTNSHADOW,
                                                  COLOR_3DDKSHADOW,
                                                  COLOR_INFOBK,
                                                  COLOR_INFOTEXT,
                                                  kLiteral,
                                                  kLiteral,
                                                  kLiteral,
                                                  kLiteral,
                                                  kLiteral};
constexpr TPalette kLightOwn = {0,
                                0,
                                0,
                                0,
                                0,
                                0,
                                0,
                                RGB(0, 0, 255),
                                0,
                                0,
                                0,
                                0,
                                0,
                                0,
                                0,
                                0,
                                RGB(0, 0, 0),
                                RGB(255, 255, 255),
                                RGB(0, 0, 0),
                                RGB(0, 0, 255),
                                RGB(255, 255, 0)};
// High contrast: the system's colours throughout, links and the gauge included.
constexpr std::array<int, kRoles> kContrastSystem = {
    COLOR_BTNFACE,      COLOR_BTNTEXT,       COLOR_GRAYTEXT,  COLOR_WINDOW,     COLOR_WINDOWTEXT,
    COLOR_HIGHLIGHT,    COLOR_HIGHLIGHTTEXT, COLOR_HOTLIGHT,  COLOR_BTNSHADOW,  COLOR_BTNFACE,
    COLOR_BTNHIGHLIGHT, COLOR_3DLIGHT,       COLOR_BTNSHADOW, COLOR_3DDKSHADOW, COLOR_INFOBK,
    COLOR_INFOTEXT,     COLOR_WINDOWTEXT,    COLOR_WINDOW,    COLOR_WINDOWTEXT, COLOR_HIGHLIGHT,
    COLOR_HIGHLIGHTTEXT};
// Dark, close to Windows' own dark surfaces.
constexpr TPalette kDark = {RGB(32, 32, 32),    RGB(240, 240, 240), RGB(120, 120, 120), RGB(25, 25, 25),
                            RGB(240, 240, 240), RGB(0, 95, 184),    RGB(255, 255, 255), RGB(102, 178, 255),
                            RGB(90, 90, 90),    RGB(55, 55, 55),    RGB(105, 105, 105), RGB(70, 70, 70),
                            RGB(20, 20, 20),    RGB(8, 8, 8),       RGB(43, 43, 43),    RGB(240, 240, 240),
                            RGB(140, 140, 140), RGB(45, 45, 45),    RGB(240, 240, 240), RGB(76, 160, 255),
                            RGB(0, 0, 0)};

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
  const COLORREF old = SetBkColor(dc, topLeft);
  const RECT top{r.left, r.top, r.right - 1, r.top + 1}, left{r.left, r.top, r.left + 1, r.bottom - 1};
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &top, nullptr, 0, nullptr);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &left, nullptr, 0, nullptr);
  SetBkColor(dc, bottomRight);
  const RECT bottom{r.left, r.bottom - 1, r.right, r.bottom}, right{r.right - 1, r.top, r.right, r.bottom};
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &bottom, nullptr, 0, nullptr);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &right, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}

COLORREF DarkArtColor(COLORREF color) {
  switch (color) {
    case RGB(0, 0, 0):  // outlines and arrows
      return RGB(230, 230, 230);
    case RGB(0, 0, 128):
      return RGB(120, 160, 255);
    case RGB(0, 0, 255):
      return RGB(100, 170, 255);
    case RGB(128, 128, 128):
      return RGB(160, 160, 160);
    case RGB(192, 192, 192):  // a drawn button's face
      return kDark[static_cast<size_t>(TRole::Face)];
    default:
      return color;
  }
}

}  // namespace

TPalette PaletteOf(TScheme scheme) {
  if (scheme == TScheme::Dark) return kDark;
  const auto& system = scheme == TScheme::Light ? kLightSystem : kContrastSystem;
  TPalette palette{};
  for (size_t i = 0; i < kRoles; ++i)
    palette[i] = system[i] == kLiteral ? kLightOwn[i] : GetSysColor(system[i]);
  return palette;
}

TScheme CurrentScheme() {
  if (HighContrast().On) return TScheme::HighContrast;
  return DarkAppMode() ? TScheme::Dark : TScheme::Light;
}

COLORREF Color(TRole role) {
  const TScheme scheme = CurrentScheme();
  const size_t i = static_cast<size_t>(role);
  if (scheme == TScheme::Dark) return kDark[i];
  const int system = (scheme == TScheme::Light ? kLightSystem : kContrastSystem)[i];
  return system == kLiteral ? kLightOwn[i] : GetSysColor(system);
}

HBRUSH Brush(TRole role) {
  const TScheme scheme = CurrentScheme();
  if (scheme != TScheme::Dark) {
    const int system = (scheme == TScheme::Light ? kLightSystem : kContrastSystem)[static_cast<size_t>(role)];
    if (system != kLiteral) return GetSysColorBrush(system);
  }
  // Brushes of the program's own colours are made once and kept, as the system keeps its own.
  static std::vector<std::pair<COLORREF, TBrush>> made;
  const COLORREF color = Color(role);
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

TForcedAppMode::TForcedAppMode(bool dark) : previous_(forcedAppMode) {
  forcedAppMode = dark;
}

TForcedAppMode::~TForcedAppMode() {
  forcedAppMode = previous_;
}

std::span<const TColorPair> DrawnPairs() {
  return kPairs;
}

void DrawThemedEdge(HDC dc, const RECT& rect, UINT edge) {
  RECT r = rect;
  if (CurrentScheme() != TScheme::Dark) {
    DrawEdge(dc, &r, edge, BF_RECT);
    return;
  }
  const auto color = [](TRole role) { return kDark[static_cast<size_t>(role)]; };
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

TBitmap DarkArt(HBITMAP art) {
  BITMAP info{};
  if (CurrentScheme() != TScheme::Dark || !art || !GetObjectW(art, sizeof(info), &info)) return {};
  TBitmap copy(CreateMemoryImage(info.bmWidth, info.bmHeight));
  BITMAP bits{};
  if (!copy || !GetObjectW(copy.Get(), sizeof(bits), &bits) || !bits.bmBits) return {};
  {
    TMemoryDC from(CreateCompatibleDC(nullptr)), to(CreateCompatibleDC(nullptr));
    TSelectObject source(from.Get(), art), target(to.Get(), copy.Get());
    BitBlt(to.Get(), 0, 0, info.bmWidth, info.bmHeight, from.Get(), 0, 0, SRCCOPY);
  }
  GdiFlush();
  auto* pixel = static_cast<DWORD*>(bits.bmBits);
  for (LONG i = 0, n = info.bmWidth * info.bmHeight; i < n; ++i) {
    // A DIB's pixel is 0x00RRGGBB, a COLORREF 0x00BBGGRR.
    const DWORD p = pixel[i];
    const COLORREF mapped = DarkArtColor(RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF));
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
