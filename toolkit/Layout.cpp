#include "toolkit/Layout.h"

#include <algorithm>

#include "runtime/Errors.h"
#include "toolkit/Dpi.h"
#include "toolkit/Hints.h"

namespace toolkit {

namespace {
int Width(const RECT& r) {
  return r.right - r.left;
}
int Height(const RECT& r) {
  return r.bottom - r.top;
}
}  // namespace

void AlignBounds(RECT client, std::span<TAlignedBounds> items) {
  const TAlign order[] = {TAlign::Top, TAlign::Bottom, TAlign::Left, TAlign::Right, TAlign::Client};
  for (TAlign align : order) {
    for (TAlignedBounds& item : items) {
      if (item.Align != align) continue;
      RECT& b = item.Bounds;
      const int w = std::max(0, Width(b)), h = std::max(0, Height(b));
      switch (align) {
        case TAlign::Top:
          b = {client.left, client.top, client.right, client.top + h};
          client.top = std::min(client.bottom, client.top + h);
          break;
        case TAlign::Bottom:
          b = {client.left, client.bottom - h, client.right, client.bottom};
          client.bottom = std::max(client.top, client.bottom - h);
          break;
        case TAlign::Left:
          b = {client.left, client.top, client.left + w, client.bottom};
          client.left = std::min(client.right, client.left + w);
          break;
        case TAlign::Right:
          b = {client.right - w, client.top, client.right, client.bottom};
          client.right = std::max(client.left, client.right - w);
          break;
        case TAlign::Client:
          b = client;
          break;
        case TAlign::None:
          break;
      }
      b.right = std::max(b.left, b.right);
      b.bottom = std::max(b.top, b.bottom);
    }
  }
}

TLayout::TLayout(std::vector<TLayoutRow> rows) {
  for (const TLayoutRow& row : rows) {
    const bool parentFirst = !row.Parent || std::any_of(items_.begin(), items_.end(), [&](const Item& item) {
      return item.Row.Component == row.Parent;
    });
    if (!parentFirst)
      throw runtime::EInvalidOperation(L"Layout: eine Komponente steht vor ihrem Elternfenster");
    items_.push_back({row, RECT{row.Left, row.Top, row.Left + row.Width, row.Top + row.Height}});
  }
}

size_t TLayout::IndexOf(const TControl& component) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].Row.Component == &component) return i;
  throw runtime::EInvalidOperation(L"Layout: Komponente fehlt in der Tabelle");
}

void TLayout::Create(HWND form, HFONT font, THints& hints, int dpi) {
  dpi_ = dpi;
  // Each component is made at its place: placing it afterwards would cost a round of messages.
  std::vector<std::pair<const Item*, RECT>> places;
  const TControl* placesParent = nullptr;
  bool havePlaces = false;
  for (const Item& item : items_) {
    TControl& component = *item.Row.Component;
    HWND parentWindow = item.Row.Parent ? item.Row.Parent->Handle() : form;
    if (!havePlaces || placesParent != item.Row.Parent) {
      havePlaces = true;
      placesParent = item.Row.Parent;
      const auto parentItem = std::find_if(items_.begin(), items_.end(),
                                           [&](const Item& i) { return i.Row.Component == item.Row.Parent; });
      places = ChildBounds(parentItem == items_.end() ? nullptr : &*parentItem, parentWindow);
    }
    for (const auto& [child, b] : places) {
      if (child != &item || component.AutoSized()) continue;
      component.SetCreationBounds(b);
      item.Placed = b;
    }
    component.Create(parentWindow);
    hints.Add(component.Handle(), item.Row.Hint);
    if (dpi != kDesignDpi) component.SetDpi(dpi);
  }
  ApplyFonts(font, false);
  Realign(form);
}

void TLayout::SetDpi(HWND form, HFONT font, int dpi) {
  dpi_ = dpi;
  // The components still hold the old fonts: those go only once the new ones are set.
  std::vector<std::pair<TFontStyle, TFont>> old;
  old.swap(fonts_);
  ApplyFonts(font, true);
  for (const Item& item : items_) {
    item.Placed = RECT{0, 0, -1, -1};
    if (item.Row.Component->Handle()) item.Row.Component->SetDpi(dpi);
  }
  Realign(form);
}

void TLayout::ApplyFonts(HFONT font, bool redraw) {
  for (const Item& item : items_) {
    HFONT rowFont = font;
    if (item.Row.Font.Name) {
      // Rows that name the same font share one.
      auto same = std::find_if(fonts_.begin(), fonts_.end(),
                               [&](const auto& made) { return SameFont(made.first, item.Row.Font); });
      if (same == fonts_.end())
        same = fonts_.insert(fonts_.end(), {item.Row.Font, CreateFontOf(item.Row.Font, dpi_)});
      rowFont = same->second.Get();
    }
    if (item.Row.Component->Handle())
      SendMessageW(item.Row.Component->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(rowFont), redraw);
  }
}

RECT TLayout::Scaled(const RECT& b) const {
  const int left = Scale(b.left, dpi_), top = Scale(b.top, dpi_);
  return RECT{left, top, left + Scale(toolkit::Width(b), dpi_), top + Scale(toolkit::Height(b), dpi_)};
}

int TLayout::Width(const TControl& component) const {
  return Scale(toolkit::Width(items_[IndexOf(component)].Bounds), dpi_);
}

void TLayout::SetWidth(const TControl& component, int width) {
  RECT& b = items_[IndexOf(component)].Bounds;
  b.right = b.left + Unscale(std::max(0, width), dpi_);
}

std::vector<std::pair<const TLayout::Item*, RECT>> TLayout::ChildBounds(const Item* parent,
                                                                        HWND parentWindow) const {
  const TControl* parentComponent = parent ? parent->Row.Component : nullptr;
  std::vector<TAlignedBounds> bounds;
  std::vector<std::pair<const Item*, RECT>> children;
  for (const Item& item : items_) {
    if (item.Row.Parent != parentComponent) continue;
    bounds.push_back({item.Row.Align, Scaled(item.Bounds)});
    children.push_back({&item, RECT{}});
  }
  if (children.empty()) return children;
  RECT client;
  GetClientRect(parentWindow, &client);
  const int border = parent ? Scale(parent->Row.Border, dpi_) : 0;
  InflateRect(&client, -border, -border);
  AlignBounds(client, bounds);
  for (size_t i = 0; i < children.size(); ++i) children[i].second = bounds[i].Bounds;
  return children;
}

void TLayout::Realign(HWND form) const {
  // Parents come before their children in the table, so one pass in table order places every level.
  std::vector<const Item*> parents{nullptr};
  for (const Item& item : items_) parents.push_back(&item);
  for (const Item* parent : parents) {
    HWND parentWindow = parent ? parent->Row.Component->Handle() : form;
    if (!parentWindow) continue;
    for (const auto& [child, b] : ChildBounds(parent, parentWindow)) {
      const TControl& component = *child->Row.Component;
      if (!component.Handle()) continue;
      if (EqualRect(&b, &child->Placed)) continue;
      child->Placed = b;
      if (component.AutoSized() && child->Row.Align == TAlign::None)
        SetWindowPos(component.Handle(), nullptr, b.left, b.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      else
        // No copy of the old pixels: a sibling that moved over them repaints its whole area.
        SetWindowPos(component.Handle(), nullptr, b.left, b.top, b.right - b.left, b.bottom - b.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
  }
}

}  // namespace toolkit
