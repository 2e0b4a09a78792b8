// A static text: caption in the font it is sent (WM_SETFONT) and a colour of its own, left or centred, on one
// line or word-wrapped, sized to its text or fixed, with a hint that can show as a tool tip, a cursor of its
// own and click and double-click events.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "toolkit/CustomControl.h"
#include "toolkit/Hints.h"

namespace toolkit {

enum class TTextAlign { Left, Center };
enum class TCursorShape { Default, HandPoint };

// Text colours that follow the colour scheme: the text on the face (the button text colour in light),
// and links (blue in light, the system's link colour under high contrast).
constexpr COLORREF kButtonTextColor = 0x80000000 | COLOR_BTNTEXT;
constexpr COLORREF kLinkTextColor = 0x40000000;
// The colour to draw: one of the two above in the current scheme, another system colour as the
// system has it, any other as it stands.
COLORREF DrawnColor(COLORREF color);

struct TLabelSettings {
  std::wstring Caption;
  COLORREF TextColor = kButtonTextColor;
  TTextAlign Alignment = TTextAlign::Left;
  bool AutoSize = true;  // the label takes the size of its text (its height only, when word-wrapped)
  bool WordWrap = false;
  bool Transparent = false;
  bool Visible = true;
};

// Carriage returns alone become CR LF, so that the text draws with a break there; CR LF and LF
// stay as they are.
std::wstring WithDrawableLineBreaks(const std::wstring& text);

class TLabel : public TCustomControl {
 public:
  explicit TLabel(TLabelSettings settings = {});
  void Create(HWND parent) override;

  const std::wstring& Caption() const { return settings_.Caption; }
  void SetCaption(std::wstring caption);
  bool Visible() const { return settings_.Visible; }
  void SetVisible(bool visible);
  bool AutoSized() const override { return settings_.AutoSize; }
  // Sizes the label to its parent's client area.
  void AlignToParent();

  const std::wstring& Hint() const { return hint_; }
  void SetHint(std::wstring hint);
  // Shows the hint as a tool tip while the pointer rests on the label.
  void SetShowHint(bool show);
  TCursorShape Cursor = TCursorShape::Default;

  std::function<void(TLabel& sender)> OnClick;
  std::function<void(TLabel& sender)> OnDblClick;
  // A label that the user opens (a link, a file name) can be reached by Tab and opened by Enter or
  // Space, which do what a click does, or a double-click when it has no click. It shows a focus
  // rectangle while it has the focus.
  void SetTabStop(bool tabStop);

 protected:
  void Paint(HDC dc, const RECT& client) const override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Static text with its caption; a label that opens something (a click or a double-click) is a link
  // whose value is its address (the hint, or the caption), with "Öffnen" as default action. A hint
  // shown as a tool tip is its description.
  TAccElement AccDescribe(const TAccPath& path) const override;
  bool AccDoDefaultAction(const TAccPath& path) override;
  bool Opens() const { return OnClick || OnDblClick; }
  void Open();
  void FitToText();
  void UpdateTip();

  TLabelSettings settings_;
  std::wstring drawnCaption_;  // the caption with its line breaks as DrawText takes them
  std::wstring hint_;
  bool showHint_ = false;
  bool pressed_ = false;
  THints tip_;
};

}  // namespace toolkit
