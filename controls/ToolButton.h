// A tool button with a glyph: it never takes the keyboard focus, and a click counts only when the
// button is released over itself.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "toolkit/CustomControl.h"
#include "toolkit/Handles.h"
#include "toolkit/Theme.h"

namespace controls {

class TToolButton : public toolkit::TCustomControl {
 public:
  // glyphResource: a bitmap of glyphCount square images side by side (normal, then disabled);
  // magenta pixels are transparent.
  TToolButton(const wchar_t* glyphResource, int glyphCount);
  void Create(HWND parent) override;
  // The glyphs as drawn for dpi.
  void SetDpi(int dpi) override;
  // The glyphs in the scheme's colours: made light where they would vanish on a dark face, in the
  // button's text colour (grey when disabled) with their inner shapes under high contrast.
  void ThemeChanged() override;
  std::function<void()> OnClick;
  // Fires OnClick, as a completed mouse click does.
  void Click();
  // The key that does what the button does, as a screen reader names it ("Strg+C").
  std::wstring Shortcut;

 protected:
  void Paint(HDC dc, const RECT& client) const override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // A push button named by its function; its default action clicks it.
  toolkit::TAccElement AccDescribe(const toolkit::TAccPath& path) const override;
  bool AccDoDefaultAction(const toolkit::TAccPath& path) override;

  bool IsPointInside(LPARAM position) const;
  void SetShowPressed(bool pressed);

  // The glyph strip as drawn for dpi: glyphCount_ images side by side, each glyphSize_ wide.
  void LoadGlyphs(int dpi);
  // The image list of the scheme: the strip's images in the scheme's colours, then the same with
  // the disabled ink (grey text under high contrast, as they are in the other schemes).
  HIMAGELIST Glyphs(toolkit::TScheme scheme) const;

  const wchar_t* glyphResource_;
  int glyphCount_;
  toolkit::TBitmap strip_;
  mutable toolkit::TImageList glyphs_;
  mutable std::optional<toolkit::TScheme> glyphsScheme_;
  int glyphSize_ = 0;
  bool pressActive_ = false;
  bool showPressed_ = false;
};

}  // namespace controls
