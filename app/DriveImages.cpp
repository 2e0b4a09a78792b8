#include "app/DriveImages.h"

#include <string>

#include "resources/resource_ids.h"
#include "runtime/Errors.h"
#include "toolkit/Art.h"

namespace app {

namespace {
const COLORREF kTransparent = RGB(255, 0, 255);
}  // namespace

toolkit::TImageList DriveImages(int dpi, toolkit::TScheme scheme) {
  // In the order of DriveImageIndex.
  const wchar_t* const images[] = {RES_DRIVE_REMOVABLE, RES_DRIVE_FIXED, RES_DRIVE_RAMDISK, RES_DRIVE_REMOTE,
                                   RES_DRIVE_CDROM};
  toolkit::TImageList list;
  for (const wchar_t* name : images) {
    toolkit::TBitmap bitmap = toolkit::LoadArt(name, dpi);
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap.Get(), sizeof(info), &info))
      throw runtime::Exception(std::wstring(L"Laufwerksbild fehlt: ") + name);
    if (scheme == toolkit::TScheme::Dark)
      if (toolkit::TBitmap dark = toolkit::SchemeArt(bitmap.Get(), scheme)) bitmap = std::move(dark);
    if (!list) list.Reset(ImageList_Create(info.bmWidth, info.bmHeight, ILC_COLOR24 | ILC_MASK, 5, 0));
    if (ImageList_AddMasked(list.Get(), bitmap.Get(), kTransparent) < 0)
      throw runtime::Exception(std::wstring(L"Laufwerksbild fehlt: ") + name);
  }
  return list;
}

}  // namespace app
