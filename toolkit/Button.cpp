#include "toolkit/Button.h"

#include <commctrl.h>

#include <string>

#include "runtime/Errors.h"
#include "toolkit/Art.h"
#include "toolkit/Dpi.h"
#include "toolkit/Theme.h"

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
  dpi_ = dpi;
  SetGlyph();
}

void TOkButton::ThemeChanged() {
  SetGlyph();
}

void TOkButton::SetGlyph() {
  TBitmap glyph = LoadArt(glyphResource_, dpi_);
  if (TBitmap schemed = SchemeArt(glyph.Get(), CurrentScheme())) glyph = std::move(schemed);
  BITMAP info{};
  if (!glyph || !GetObjectW(glyph.Get(), sizeof(info), &info))
    throw runtime::Exception(std::wstring(L"Schaltflächenbild fehlt: ") + glyphResource_);
  // The button takes the new list before the old one goes.
  TImageList list(ImageList_Create(info.bmWidth, info.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 0));
  ImageList_AddMasked(list.Get(), glyph.Get(), kTransparent);
  BUTTON_IMAGELIST images{list.Get(), RECT{Scale(kGlyphMargin, dpi_), 0, 0, 0}, BUTTON_IMAGELIST_ALIGN_LEFT};
  SendMessageW(Handle(), BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
  glyph_ = std::move(list);
}

LRESULT TOkButton::CustomDraw(NMCUSTOMDRAW& draw) {
  // Light leaves the button to the system. Dark draws it here; so does high contrast, where a themed
  // system (Wine's, Windows' when the program is not told of high contrast) would draw a light face
  // that the glyph in the button text colour vanishes on.
  if (draw.dwDrawStage != CDDS_PREPAINT || CurrentScheme() == TScheme::Light) return CDRF_DODEFAULT;
  HDC dc = draw.hdc;
  RECT face = draw.rc;
  FillRect(dc, &face, Brush(TRole::Face));
  // The default button's extra outer line, then the bevel, sunk while pressed.
  FrameRect(dc, &face, Brush(TRole::Text));
  InflateRect(&face, -1, -1);
  DrawThemedEdge(dc, face, (draw.uItemState & CDIS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED);
  int glyphWidth = 0, glyphHeight = 0;
  ImageList_GetIconSize(glyph_.Get(), &glyphWidth, &glyphHeight);
  const TSelectObject font(dc, reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)));
  SIZE text{};
  GetTextExtentPoint32W(dc, L"OK", 2, &text);
  const int gap = Scale(kGlyphMargin, WindowDpi(Handle()));
  const int pressed = (draw.uItemState & CDIS_SELECTED) ? 1 : 0;
  const int left = (face.left + face.right - glyphWidth - gap - text.cx) / 2 + pressed;
  const int middle = (face.top + face.bottom) / 2 + pressed;
  ImageList_Draw(glyph_.Get(), 0, dc, left, middle - glyphHeight / 2, ILD_TRANSPARENT);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Color(TRole::Text));
  ExtTextOutW(dc, left + glyphWidth + gap, middle - text.cy / 2, 0, nullptr, L"OK", 2, nullptr);
  if (draw.uItemState & CDIS_FOCUS) {
    InflateRect(&face, -3, -3);
    DrawFocusRect(dc, &face);
  }
  return CDRF_SKIPDEFAULT;
}

}  // namespace toolkit
