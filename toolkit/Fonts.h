// Fonts as the layouts name them: face, character height in pixels (96 dpi) and style.
#pragma once

#include <windows.h>

#include "toolkit/Handles.h"

namespace tk {

struct TFontSpec {
  const char* Name = nullptr;  // nullptr: the parent's font
  int Height = 0;              // character height, without the internal leading
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
};

inline TFont CreateFontFromSpec(const TFontSpec& spec) {
  return TFont(CreateFontA(-spec.Height, 0, 0, 0, spec.Bold ? FW_BOLD : FW_NORMAL, spec.Italic,
                           spec.Underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, spec.Name));
}

}  // namespace tk
