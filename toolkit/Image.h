// A picture in a window: the image owns its bitmap and draws it stretched to its client area.
#pragma once

#include "toolkit/CustomControl.h"
#include "toolkit/Handles.h"

namespace toolkit {

class TImage : public TCustomControl {
 public:
  void Create(HWND parent) override;
  void SetPicture(TBitmap picture);
  HBITMAP Picture() const { return picture_.Get(); }

 protected:
  void Paint(HDC dc, const RECT& client) const override;

 private:
  // A graphic named by what it shows.
  TAccElement AccDescribe(const TAccPath& path) const override;
  TBitmap picture_;
};

}  // namespace toolkit
