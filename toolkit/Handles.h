// Owning wrappers for the GDI objects, DCs, image lists and libraries the program creates, over
// runtime's generic owner: each frees its handle exactly once.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "runtime/Handles.h"

namespace toolkit {

using runtime::TUniqueHandle;

template <typename Gdi>
using TGdiObject = TUniqueHandle<Gdi, DeleteObject>;
using TFont = TGdiObject<HFONT>;
using TBitmap = TGdiObject<HBITMAP>;
using TBrush = TGdiObject<HBRUSH>;
using TPen = TGdiObject<HPEN>;
using TMemoryDC = TUniqueHandle<HDC, DeleteDC>;
using TImageList = TUniqueHandle<HIMAGELIST, ImageList_Destroy>;
using TLibrary = TUniqueHandle<HMODULE, FreeLibrary>;
using TIcon = TUniqueHandle<HICON, DestroyIcon>;

// GDI objects, memory DCs and image lists held by the wrappers above.
inline int LiveGdiObjects() {
  return TGdiObject<HFONT>::Live + TGdiObject<HBITMAP>::Live + TGdiObject<HBRUSH>::Live +
         TGdiObject<HPEN>::Live + TMemoryDC::Live + TImageList::Live;
}

// Selects an object into a DC for the lifetime of the scope and puts the previous one back.
class TSelectObject {
 public:
  TSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  TSelectObject(const TSelectObject&) = delete;
  TSelectObject& operator=(const TSelectObject&) = delete;
  ~TSelectObject() { SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// GetDC / ReleaseDC: a window's DC, or the screen's for a null window, for the lifetime of the scope.
class TWindowDC {
 public:
  explicit TWindowDC(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
  // The whole window's, frame and edges included (GetWindowDC).
  TWindowDC(HWND window, bool wholeWindow)
      : window_(window), dc_(wholeWindow ? GetWindowDC(window) : GetDC(window)) {}
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  ~TWindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A top-down image in the program's memory (CreateDIBSection) of the given depth; a bitmap compatible
// with a window's DC would be made by the display driver, several times slower. Sizes below one
// pixel become one. Null when the system has no room for it.
inline HBITMAP CreateMemoryImage(int width, int height, WORD bitsPerPixel = 32) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width > 0 ? width : 1;
  info.bmiHeader.biHeight = -(height > 0 ? height : 1);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = bitsPerPixel;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

// BeginPaint / EndPaint for one WM_PAINT.
class TPaintDC {
 public:
  explicit TPaintDC(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
  TPaintDC(const TPaintDC&) = delete;
  TPaintDC& operator=(const TPaintDC&) = delete;
  ~TPaintDC() { EndPaint(window_, &paint_); }
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// An off-screen image the size of a window's client area: paint into Get(), then Present().
class TBufferedPaint {
 public:
  TBufferedPaint(HDC target, int width, int height)
      : target_(target),
        width_(width),
        height_(height),
        dc_(CreateCompatibleDC(target)),
        bitmap_(CreateMemoryImage(width, height)),
        select_(dc_.Get(), bitmap_.Get()) {}
  HDC Get() const { return dc_.Get(); }
  void Present() const { BitBlt(target_, 0, 0, width_, height_, dc_.Get(), 0, 0, SRCCOPY); }

 private:
  HDC target_;
  int width_, height_;
  TMemoryDC dc_;
  TBitmap bitmap_;
  TSelectObject select_;
};

}  // namespace toolkit
