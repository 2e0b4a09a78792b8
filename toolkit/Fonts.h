// Fonts as the layouts name them: face, character height in pixels (96 dpi) and style.
#pragma once

#include <windows.h>

#include <cwchar>

#include "toolkit/Handles.h"

namespace toolkit {

struct TFontStyle {
  const wchar_t* Name = nullptr;  // nullptr: the parent's font
  int Height = 0;                 // character height, without the internal leading
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
};

inline bool SameFont(const TFontStyle& a, const TFontStyle& b) {
  const bool sameName = a.Name && b.Name ? std::wcscmp(a.Name, b.Name) == 0 : a.Name == b.Name;
  return sameName && a.Height == b.Height && a.Bold == b.Bold && a.Italic == b.Italic &&
         a.Underline == b.Underline;
}

// The font at dpi: its character height scaled from 96 dpi.
inline TFont CreateFontOf(const TFontStyle& style, int dpi = 96) {
  return TFont(CreateFontW(-MulDiv(style.Height, dpi, 96), 0, 0, 0, style.Bold ? FW_BOLD : FW_NORMAL,
                           style.Italic, style.Underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, style.Name));
}

}  // namespace toolkit
