// The program's pictures at the size a display scaling asks for. Each is drawn at 100, 125 and 150 %
// (the resources NAME, NAME_125 and NAME_150); a DPI takes the largest drawing that fits its scale a
// whole number of times, each pixel repeated so often. No picture is stretched by a fraction, which
// would make some of its one-pixel lines two pixels wide and others not.
#pragma once

#include <windows.h>

#include "toolkit/Handles.h"

namespace toolkit {

// A drawing's scale in percent (100, 125 or 150) and how often each of its pixels repeats.
struct TArtScale {
  int Percent;
  int Factor;
  bool operator==(const TArtScale&) const = default;
};

// The largest drawing times a whole factor at or below the DPI's scale (at 300 % the 150 % drawing
// twice, rather than the 100 % one three times); below 100 % the 100 % drawing.
TArtScale ArtScaleFor(int dpi);

// The picture of a resource of the program at dpi, as a 24-bit image; null when it is missing.
TBitmap LoadArt(const wchar_t* name, int dpi);

// A copy of a picture with each pixel a block of factor x factor pixels; null when it cannot be made.
HBITMAP RepeatedBitmap(HBITMAP picture, int factor);

}  // namespace toolkit
