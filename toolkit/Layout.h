// Window layouts as data: one table per window, one row per component in declaration order, and the
// alignment rule that places the aligned components inside their parent.
#pragma once

#include <windows.h>

#include <span>
#include <string_view>
#include <vector>

namespace tk {

enum class TAlign { None, Top, Bottom, Left, Right, Client };

struct TLayoutRow {
  const char* Name;
  const char* Parent;  // nullptr: the window itself
  TAlign Align;
  int Left, Top, Width, Height;
  int Border;        // inset of the client area that a parent leaves for its children (bevel)
  const char* Hint;  // tool tip, "" for none
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
  explicit TLayout(std::span<const TLayoutRow> rows);
  const TLayoutRow& Row(std::string_view name) const;
  void Attach(std::string_view name, HWND window);
  int Width(std::string_view name) const;
  void SetWidth(std::string_view name, int width);
  // Positions every attached window inside its parent's client area.
  void Realign(HWND form) const;

 private:
  struct Item {
    const TLayoutRow* Row;
    RECT Bounds;
    HWND Window = nullptr;
  };
  size_t IndexOf(std::string_view name) const;
  std::vector<Item> items_;
};

}  // namespace tk
