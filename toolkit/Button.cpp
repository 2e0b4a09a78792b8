#include "toolkit/Button.h"

#include <commctrl.h>

#include <string>

#include "toolkit/Errors.h"

namespace tk {

namespace {
const COLORREF kTransparent = RGB(255, 0, 255);
const int kGlyphMargin = 2;
}  // namespace

void TOkButton::Create(HWND parent) {
  TBitmap glyph(
      static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), glyphResource_, IMAGE_BITMAP, 0, 0, 0)));
  BITMAP info{};
  if (!glyph || !GetObjectA(glyph.Get(), sizeof(info), &info))
    throw Exception(std::string("Schaltflächenbild fehlt: ") + glyphResource_);
  glyph_.Reset(ImageList_Create(info.bmWidth, info.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 0));
  ImageList_AddMasked(glyph_.Get(), glyph.Get(), kTransparent);

  CreateSystemHandle("BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, parent);
  SetWindowTextA(Handle(), "OK");
  SetWindowLongPtrA(Handle(), GWLP_ID, IDOK);
  BUTTON_IMAGELIST images{glyph_.Get(), RECT{kGlyphMargin, 0, 0, 0}, BUTTON_IMAGELIST_ALIGN_LEFT};
  SendMessageA(Handle(), BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
}

}  // namespace tk
