#include "toolkit/Button.h"

#include <commctrl.h>

#include <string>

#include "runtime/Errors.h"
#include "toolkit/Dpi.h"

namespace toolkit {

namespace {
const COLORREF kTransparent = RGB(255, 0, 255);
const int kGlyphMargin = 2;
}  // namespace

void TOkButton::Create(HWND parent) {
  CreateSystemHandle(WC_BUTTONW, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, parent);
  SetWindowTextW(Handle(), L"OK");
  SetWindowLongPtrW(Handle(), GWLP_ID, IDOK);
  SetDpi(kDesignDpi);
}

void TOkButton::SetDpi(int dpi) {
  TBitmap glyph(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), glyphResource_, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (glyph && dpi != kDesignDpi) glyph.Reset(ScaledBitmap(glyph.Get(), dpi));
  BITMAP info{};
  if (!glyph || !GetObjectW(glyph.Get(), sizeof(info), &info))
    throw runtime::Exception(std::wstring(L"Schaltflächenbild fehlt: ") + glyphResource_);
  // The button takes the new list before the old one goes.
  TImageList list(ImageList_Create(info.bmWidth, info.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 0));
  ImageList_AddMasked(list.Get(), glyph.Get(), kTransparent);
  BUTTON_IMAGELIST images{list.Get(), RECT{Scale(kGlyphMargin, dpi), 0, 0, 0}, BUTTON_IMAGELIST_ALIGN_LEFT};
  SendMessageW(Handle(), BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
  glyph_ = std::move(list);
}

}  // namespace toolkit
