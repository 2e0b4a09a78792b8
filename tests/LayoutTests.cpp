// The alignment rule and the main window's layout table.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/MainLayout.h"
#include "toolkit/Layout.h"

using tk::TAlign;
using tk::TAlignedBounds;

namespace {
bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
std::string Text(const RECT& r) {
  std::string text = "(";
  for (LONG v : {r.left, r.top, r.right, r.bottom}) text += std::to_string(v) + ",";
  text.back() = ')';
  return text;
}
}  // namespace

TEST(AlignBounds, BarsFirstThenSidesThenClient) {
  // Declared out of order: the client item first, a bottom bar before the top bar.
  std::vector<TAlignedBounds> items = {{TAlign::Client, {0, 0, 10, 10}}, {TAlign::Bottom, {0, 0, 50, 30}},
                                       {TAlign::Top, {0, 0, 50, 41}},    {TAlign::Left, {5, 5, 214, 100}},
                                       {TAlign::Left, {0, 0, 3, 10}},    {TAlign::Right, {0, 0, 20, 5}},
                                       {TAlign::None, {8, 8, 33, 33}}};
  tk::AlignBounds(RECT{0, 0, 499, 407}, items);
  const RECT expected[] = {{212, 41, 479, 377}, {0, 377, 499, 407},  {0, 0, 499, 41}, {0, 41, 209, 377},
                           {209, 41, 212, 377}, {479, 41, 499, 377}, {8, 8, 33, 33}};
  for (size_t i = 0; i < items.size(); ++i)
    EXPECT_TRUE(Same(items[i].Bounds, expected[i])) << i << ": " << Text(items[i].Bounds);
}

TEST(AlignBounds, TooSmallAParentNeverGivesNegativeSizes) {
  std::vector<TAlignedBounds> items = {
      {TAlign::Top, {0, 0, 10, 41}}, {TAlign::Bottom, {0, 0, 10, 30}}, {TAlign::Client, {0, 0, 1, 1}}};
  tk::AlignBounds(RECT{0, 0, 100, 50}, items);
  EXPECT_TRUE(Same(items[0].Bounds, RECT{0, 0, 100, 41})) << Text(items[0].Bounds);
  EXPECT_TRUE(Same(items[1].Bounds, RECT{0, 20, 100, 50})) << Text(items[1].Bounds);
  EXPECT_GE(items[2].Bounds.bottom, items[2].Bounds.top);
  EXPECT_GE(items[2].Bounds.right, items[2].Bounds.left);
}

TEST(MainLayout, NamesEveryComponentOnceWithItsParentBeforeIt) {
  std::set<std::string> seen;
  for (const tk::TLayoutRow& row : app::MainLayout()) {
    if (row.Parent) {
      EXPECT_TRUE(seen.count(row.Parent)) << row.Name << " comes before its parent " << row.Parent;
    }
    EXPECT_TRUE(seen.insert(row.Name).second) << row.Name;
  }
  EXPECT_EQ(seen.size(), 12u);
}
