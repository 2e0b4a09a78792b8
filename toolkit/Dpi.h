// Pixels per inch: the layouts are designed at 96 and scaled to the DPI of the window they are in.
#pragma once

#include <windows.h>

namespace toolkit {

const int kDesignDpi = 96;

// A length of the 96-dpi design at dpi, rounded to the nearest pixel.
inline int Scale(int value, int dpi) {
  return MulDiv(value, dpi, kDesignDpi);
}
// A length at dpi back in design pixels.
inline int Unscale(int value, int dpi) {
  return MulDiv(value, kDesignDpi, dpi);
}

// The DPI of the window's monitor (GetDpiForWindow where the system has it, Windows 10 and later),
// else the screen's.
int WindowDpi(HWND window);
// The screen's DPI, for sizes needed before a window exists.
int ScreenDpi();
// AdjustWindowRectExForDpi where the system has it, else AdjustWindowRectEx.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);

}  // namespace toolkit
