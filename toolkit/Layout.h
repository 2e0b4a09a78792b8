// Window layouts as data: one table per window, one row per component in declaration order, and the
// alignment rule that places the aligned components inside their parent.
#pragma once

#include <windows.h>

#include <span>
#include <utility>
#include <vector>

#include "toolkit/Fonts.h"
#include "toolkit/Handles.h"
#include "toolkit/Window.h"

namespace toolkit {

class THints;

enum class TAlign { None, Top, Bottom, Left, Right, Client };

struct TLayoutRow {
  TControl* Component;
  TControl* Parent;  // nullptr: the window itself
  TAlign Align;
  int Left, Top, Width, Height;
  int Border;           // inset of the client area that a parent leaves for its children (bevel)
  const wchar_t* Hint;  // tool tip, L"" for none
  TFontStyle Font{};    // no name: the window's font
};

struct TAlignedBounds {
  TAlign Align;
  RECT Bounds;  // in: the size to keep; out: the placed bounds
};

// Places aligned items inside client, as the toolkit does: top items from the top down, bottom items
// from the bottom up, then left and right items, each in the given order, and a client item takes
// the rest. Items with TAlign::None keep their bounds. Sizes never go below 0.
void AlignBounds(RECT client, std::span<TAlignedBounds> items);

// The run-time state of one window's layout: the table's bounds, updated as the user resizes parts.
class TLayout {
 public:
  // Parents must come before their children.
  explicit TLayout(std::vector<TLayoutRow> rows);
  // Creates every component in table order inside its parent, with its row's font (the form's
  // when the row names none) and its hint, then places them; sizes and fonts at dpi.
  void Create(HWND form, HFONT font, THints& hints, int dpi = 96);
  // Takes another DPI: new fonts (the form's given), every component placed again.
  void SetDpi(HWND form, HFONT font, int dpi);
  // The DPI that the layout's sizes are at.
  int Dpi() const { return dpi_; }
  // A component's width in pixels at the layout's DPI.
  int Width(const TControl& component) const;
  void SetWidth(const TControl& component, int width);
  // Positions every created component inside its parent's client area.
  void Realign(HWND form) const;

 private:
  struct Item {
    TLayoutRow Row;
    RECT Bounds;  // at 96 dpi
    // Where the window was last placed: an unchanged place is not set again (each placement
    // costs the window system a round of messages).
    mutable RECT Placed{0, 0, -1, -1};
  };
  size_t IndexOf(const TControl& component) const;
  RECT Scaled(const RECT& bounds) const;
  // Where the children of a parent (null: the form) go inside its window's client area.
  std::vector<std::pair<const Item*, RECT>> ChildBounds(const Item* parent, HWND parentWindow) const;
  // Sends every component its font at the layout's DPI, making the rows' own fonts.
  void ApplyFonts(HFONT font, bool redraw);
  int dpi_ = 96;
  std::vector<Item> items_;
  std::vector<std::pair<TFontStyle, TFont>> fonts_;
};

}  // namespace toolkit
