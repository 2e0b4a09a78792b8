// The program's colours in one place: three schemes (light, dark and high contrast) of one set of
// roles that every control asks for. Light is the system's colours, as the controls always drew;
// dark follows Windows' app mode ("Choose your app mode"); high contrast wins over both.
#pragma once

#include <windows.h>

#include <array>
#include <span>

#include "toolkit/Forced.h"
#include "toolkit/Handles.h"

namespace toolkit {

enum class TScheme { Light, Dark, HighContrast };

enum class TRole {
  Face,            // window, panel and button backgrounds
  Text,            // text on the face
  GrayText,        // disabled glyphs (no text pair: disabled controls are exempt from contrast)
  Window,          // list and table cells, the help text's page
  WindowText,      // text on Window
  Highlight,       // the selected cell and item
  HighlightText,   // text on Highlight
  Link,            // links on the face
  GridLine,        // lines between fixed cells
  CellLine,        // lines between the other cells
  EdgeHighlight,   // bevels: outer light edge
  EdgeLight,       // inner light edge
  EdgeShadow,      // inner dark edge
  EdgeDarkShadow,  // outer dark edge
  TipBack,         // tool tips
  TipText,
  GaugeFrame,
  GaugeTrack,      // the gauge's part beyond its value
  GaugeTrackText,  // the percentage where it stands on the track
  GaugeBar,        // the filled part
  GaugeBarText,    // the percentage where it stands on the bar
  Count
};

using TPalette = std::array<COLORREF, static_cast<size_t>(TRole::Count)>;

// The scheme's colours; light and high contrast read the system's colours now.
TPalette PaletteOf(TScheme scheme);

// What drawing follows: high contrast when it is on, else dark when the app mode is dark.
TScheme CurrentScheme();
COLORREF Color(TRole role);
// A brush of the role's colour in the current scheme; owned by the system or kept for the process.
HBRUSH Brush(TRole role);
// The same in a scheme asked once: a paint of many cells asks the system once, not at every cell.
COLORREF Color(TScheme scheme, TRole role);
HBRUSH Brush(TScheme scheme, TRole role);

// Whether the user chose the dark app mode (AppsUseLightTheme = 0), as read by ReadAppMode: at the
// first question and whenever Windows announces a change of it.
bool DarkAppMode();
void ReadAppMode();
// True for the setting change that announces another app mode or colour set.
bool IsColorSetChange(UINT message, LPARAM lParam);

// Forces the app mode while it lives.
class TForcedAppMode : TForced<bool> {
 public:
  explicit TForcedAppMode(bool dark);
};

struct TColorPair {
  TRole Fore, Back;
  double LeastRatio;  // 4.5 for text, 3 for a graphic against its neighbour
};
// Every text and graphic that the controls draw on a background of the palette, with the least
// contrast ratio (WCAG's) it must keep.
std::span<const TColorPair> DrawnPairs();

// DrawEdge in the scheme's colours: the system's own call for light and high contrast, which use the
// system's colours; lines of the palette's edge colours for dark. Whole frames (BF_RECT) only.
void DrawThemedEdge(HDC dc, const RECT& rect, UINT edge);

// How a picture of the 16-colour art uses black: for lines (glyphs, arrows, the drives' outlines) or
// as the body of a solid shape (the program's floppy disk).
enum class TArtStyle { Lines, Solid };

// A copy of a picture of the 16-colour art in a scheme's colours; empty in light, where it stays as
// drawn. Dark: the colours that would vanish on the dark face made light (black lines, navy, grey;
// a solid black body a grey that keeps its white details), a drawn button's silver the face. High
// contrast: two system colours, the art's lines and strong colours (black, grey, navy, blue, red,
// green...) in ink, its fills (white, silver, olive, yellow, cyan) in the face colour, so that a
// glyph keeps its inner shapes. The transparent magenta stays.
TBitmap SchemeArt(HBITMAP art, TScheme scheme, TRole ink = TRole::Text, TArtStyle style = TArtStyle::Lines);

// Dark or light title bar and scroll bars (no-ops where Windows has no dark form of them). Callers
// ask only for a change, so that a light window never loads the libraries.
void SetDarkFrame(HWND window, bool dark);
void SetDarkScrollBars(HWND window, bool dark);

}  // namespace toolkit
