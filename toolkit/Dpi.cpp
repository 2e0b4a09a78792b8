#include "toolkit/Dpi.h"

namespace tk {

namespace {

// A user32 function of newer systems, or null.
template <typename T>
T User32Function(const char* name) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

}  // namespace

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

int WindowDpi(HWND window) {
  using TGetDpiForWindow = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = User32Function<TGetDpiForWindow>("GetDpiForWindow");
  if (getDpiForWindow && window) {
    if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
  }
  return ScreenDpi();
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
  using TAdjust = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjust = User32Function<TAdjust>("AdjustWindowRectExForDpi");
  if (adjust)
    adjust(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi));
  else
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

HBITMAP ScaledBitmap(HBITMAP picture, int dpi) {
  BITMAP info{};
  if (!picture || !GetObjectA(picture, sizeof(info), &info)) return nullptr;
  const int width = Scale(info.bmWidth, dpi), height = Scale(info.bmHeight, dpi);
  // An image in the program's memory of the picture's depth: a display-compatible bitmap would be
  // made by the display driver, several times slower.
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof(format.bmiHeader);
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = static_cast<WORD>(info.bmBitsPixel > 8 ? info.bmBitsPixel : 24);
  format.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP scaled = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!scaled) return nullptr;
  HDC source = CreateCompatibleDC(nullptr), target = CreateCompatibleDC(nullptr);
  HGDIOBJ oldSource = SelectObject(source, picture), oldTarget = SelectObject(target, scaled);
  SetStretchBltMode(target, COLORONCOLOR);
  StretchBlt(target, 0, 0, width, height, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  SelectObject(source, oldSource);
  SelectObject(target, oldTarget);
  DeleteDC(source);
  DeleteDC(target);
  return scaled;
}

}  // namespace tk
