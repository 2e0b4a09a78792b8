#include "toolkit/Image.h"

#include <oleacc.h>

#include "toolkit/Theme.h"

namespace toolkit {

namespace {
const wchar_t kImageClass[] = L"TkImage";
}

void TImage::Create(HWND parent) {
  RegisterWindowClass(kImageClass, IDC_ARROW, nullptr);
  CreateHandle(kImageClass, L"", WS_CHILD | WS_VISIBLE, 0, RECT{0, 0, 0, 0}, parent);
}

TAccElement TImage::AccDescribe(const TAccPath&) const {
  TAccElement image;
  image.Role = ROLE_SYSTEM_GRAPHIC;
  image.Name = AccessibleName;
  image.State = STATE_SYSTEM_READONLY;
  return image;
}

void TImage::SetPicture(TBitmap picture) {
  picture_ = std::move(picture);
  Invalidate();
}

void TImage::Paint(HDC dc, const RECT& client) const {
  FillRect(dc, &client, Brush(TRole::Face));
  BITMAP info{};
  if (!picture_ || !GetObjectW(picture_.Get(), sizeof(info), &info)) return;
  TMemoryDC source(CreateCompatibleDC(dc));
  TSelectObject selected(source.Get(), picture_.Get());
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, 0, 0, client.right, client.bottom, source.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
}

}  // namespace toolkit
