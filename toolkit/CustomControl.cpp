#include "toolkit/CustomControl.h"

#include "toolkit/Handles.h"

namespace toolkit {

HFONT TCustomControl::Font() const {
  return font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void TCustomControl::PaintTo(HDC dc) const {
  RECT client;
  GetClientRect(Handle(), &client);
  Paint(dc, client);
}

void TCustomControl::Invalidate() const {
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT TCustomControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      TPaintDC target(Handle());
      RECT client;
      GetClientRect(Handle(), &client);
      if (DrawsWithoutFlicker()) {
        Paint(target.Get(), client);
        return 0;
      }
      TBufferedPaint buffer(target.Get(), client.right, client.bottom);
      Paint(buffer.Get(), client);
      buffer.Present();
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) Invalidate();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    default:
      return TControl::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace toolkit
