#include "toolkit/Layout.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace tk {

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

TLayout::TLayout(std::span<const TLayoutRow> rows) {
  for (const TLayoutRow& row : rows)
    items_.push_back({&row, RECT{row.Left, row.Top, row.Left + row.Width, row.Top + row.Height}});
}

size_t TLayout::IndexOf(std::string_view name) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (name == items_[i].Row->Name) return i;
  throw std::invalid_argument("Komponente nicht im Layout: " + std::string(name));
}

const TLayoutRow& TLayout::Row(std::string_view name) const {
  return *items_[IndexOf(name)].Row;
}
void TLayout::Attach(std::string_view name, HWND window) {
  items_[IndexOf(name)].Window = window;
}
int TLayout::Width(std::string_view name) const {
  return tk::Width(items_[IndexOf(name)].Bounds);
}

void TLayout::SetWidth(std::string_view name, int width) {
  RECT& b = items_[IndexOf(name)].Bounds;
  b.right = b.left + std::max(0, width);
}

void TLayout::Realign(HWND form) const {
  // Parents come before their children in the table, so one pass in table order places every level.
  std::vector<const char*> parents{nullptr};
  for (const Item& item : items_) parents.push_back(item.Row->Name);
  for (const char* parent : parents) {
    HWND parentWindow = form;
    int border = 0;
    if (parent) {
      const Item& p = items_[IndexOf(parent)];
      parentWindow = p.Window;
      border = p.Row->Border;
    }
    if (!parentWindow) continue;
    std::vector<TAlignedBounds> bounds;
    std::vector<const Item*> children;
    for (const Item& item : items_) {
      const bool sameParent = parent ? (item.Row->Parent && std::string_view(item.Row->Parent) == parent)
                                     : item.Row->Parent == nullptr;
      if (!sameParent) continue;
      bounds.push_back({item.Row->Align, item.Bounds});
      children.push_back(&item);
    }
    if (children.empty()) continue;
    RECT client;
    GetClientRect(parentWindow, &client);
    InflateRect(&client, -border, -border);
    AlignBounds(client, bounds);
    for (size_t i = 0; i < children.size(); ++i) {
      if (!children[i]->Window) continue;
      const RECT& b = bounds[i].Bounds;
      MoveWindow(children[i]->Window, b.left, b.top, b.right - b.left, b.bottom - b.top, TRUE);
    }
  }
}

}  // namespace tk
