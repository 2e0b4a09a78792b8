#include "toolkit/Art.h"

#include <string>

#include "runtime/Text.h"
#include "toolkit/Dpi.h"

namespace toolkit {

namespace {
// The scales each picture is drawn at, the largest last.
const int kDrawnPercents[] = {100, 125, 150};
}  // namespace

TArtScale ArtScaleFor(int dpi) {
  TArtScale best{100, 1};
  for (int factor = 1; factor * 100 * kDesignDpi <= dpi * 100; ++factor)
    for (const int percent : kDrawnPercents)
      if (percent * factor * kDesignDpi <= dpi * 100) {
        const int size = percent * factor, bestSize = best.Percent * best.Factor;
        // Equal sizes go to the larger drawing, which has more detail of its own.
        if (size > bestSize || (size == bestSize && percent > best.Percent)) best = {percent, factor};
      }
  return best;
}

TBitmap LoadArt(const wchar_t* name, int dpi) {
  const TArtScale scale = ArtScaleFor(dpi);
  std::wstring resource = name;
  if (scale.Percent != 100) resource += L"_" + runtime::DecimalText(scale.Percent);
  TBitmap drawn(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), resource.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!drawn || scale.Factor == 1) return drawn;
  return TBitmap(RepeatedBitmap(drawn.Get(), scale.Factor));
}

HBITMAP RepeatedBitmap(HBITMAP picture, int factor) {
  BITMAP info{};
  if (!picture || factor < 1 || !GetObjectW(picture, sizeof(info), &info)) return nullptr;
  const int width = info.bmWidth * factor, height = info.bmHeight * factor;
  // Of the picture's depth, at least 24 bits: palette pictures lose nothing.
  TBitmap repeated(
      CreateMemoryImage(width, height, static_cast<WORD>(info.bmBitsPixel > 8 ? info.bmBitsPixel : 24)));
  const TMemoryDC source(CreateCompatibleDC(nullptr)), target(CreateCompatibleDC(nullptr));
  if (!repeated || !source || !target) return nullptr;
  {
    const TSelectObject sourcePicture(source.Get(), picture), targetPicture(target.Get(), repeated.Get());
    // A whole factor: each source pixel covers exactly factor x factor target pixels.
    SetStretchBltMode(target.Get(), COLORONCOLOR);
    StretchBlt(target.Get(), 0, 0, width, height, source.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  }
  return repeated.Detach();
}

}  // namespace toolkit
