// The page scroller: two arrow buttons side by side that move Position between Min and Max by
// Change, one step per completed click.
#pragma once

#include <functional>

#include "toolkit/Art.h"
#include "toolkit/CustomControl.h"
#include "toolkit/Dpi.h"
#include "toolkit/Handles.h"

namespace controls {

class TScroller : public toolkit::TCustomControl {
 public:
  static constexpr int PairWidth = 24;  // both halves; they overlap in one column
  static constexpr int PairHeight = 13;

  void Create(HWND parent) override;
  // The arrows as drawn for dpi, and the scroller's size from theirs.
  void SetDpi(int dpi) override;

  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  // Stored only below Max; anything else is ignored. Neither repaints nor moves Position.
  void SetMin(int value);
  // Stored only above Min; anything else is ignored.
  void SetMax(int value);
  // A value equal to Position does nothing; otherwise it is clamped into Min .. Max, stored,
  // repainted (deferred) and reported through OnClick, even when clamping kept the old value.
  void SetPosition(int value);

  int Change = 1;
  std::function<void(TScroller& sender)> OnClick;

 protected:
  void Paint(HDC dc, const RECT& client) const override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // A spin button whose value is the position ("2 von 17"), with the halves as push buttons
  // ("Vorherige Seite", "Nächste Seite") that are unavailable where they cannot move it.
  toolkit::TAccElement AccDescribe(const toolkit::TAccPath& path) const override;
  int AccChildCount(const toolkit::TAccPath& path) const override { return path.empty() ? 2 : 0; }
  bool AccDoDefaultAction(const toolkit::TAccPath& path) override;
  enum class THalf { Left, Right };
  // One step as a completed click on the half makes it.
  void Step(THalf half);
  bool CanScroll(THalf half) const { return half == THalf::Left ? position_ > min_ : position_ < max_; }
  void DrawHalf(HDC dc, THalf half) const;
  void Press(int x);
  void Move(int x, int y);
  void Release();
  void EndPress();
  // One half's arrow image at the scroller's DPI, as drawn (the halves overlap in the width of one
  // pixel of the drawing, where the right image's outline covers the left one's).
  int HalfWidth() const { return halfWidth_; }
  int Overlap() const { return toolkit::ArtScaleFor(dpi_).Factor; }
  // Both halves' width and height.
  SIZE PairSize() const { return {2 * halfWidth_ - Overlap(), height_}; }
  RECT HalfRect(THalf half) const;

  int dpi_ = toolkit::kDesignDpi;
  int halfWidth_ = PairWidth / 2;
  int height_ = PairHeight;
  int min_ = 0;
  int max_ = 0;
  int position_ = 0;
  bool pressActive_ = false;
  bool showPressed_ = false;
  THalf pressedHalf_ = THalf::Left;
  // Reloaded with each half's arrow image at every paint.
  mutable toolkit::TBitmap image_;
};

}  // namespace controls
