// The alignment rule, the layout tables and pictures scaled to a DPI.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "controls/Panel.h"
#include "runtime/Errors.h"
#include "tests/support/HostForm.h"
#include "toolkit/Dpi.h"
#include "toolkit/Handles.h"
#include "toolkit/Hints.h"
#include "toolkit/Layout.h"

using toolkit::TAlign;
using toolkit::TAlignedBounds;

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
  toolkit::AlignBounds(RECT{0, 0, 499, 407}, items);
  const RECT expected[] = {{212, 41, 479, 377}, {0, 377, 499, 407},  {0, 0, 499, 41}, {0, 41, 209, 377},
                           {209, 41, 212, 377}, {479, 41, 499, 377}, {8, 8, 33, 33}};
  for (size_t i = 0; i < items.size(); ++i)
    EXPECT_TRUE(Same(items[i].Bounds, expected[i])) << i << ": " << Text(items[i].Bounds);
}

TEST(AlignBounds, TooSmallAParentNeverGivesNegativeSizes) {
  std::vector<TAlignedBounds> items = {
      {TAlign::Top, {0, 0, 10, 41}}, {TAlign::Bottom, {0, 0, 10, 30}}, {TAlign::Client, {0, 0, 1, 1}}};
  toolkit::AlignBounds(RECT{0, 0, 100, 50}, items);
  EXPECT_TRUE(Same(items[0].Bounds, RECT{0, 0, 100, 41})) << Text(items[0].Bounds);
  EXPECT_TRUE(Same(items[1].Bounds, RECT{0, 20, 100, 50})) << Text(items[1].Bounds);
  EXPECT_GE(items[2].Bounds.bottom, items[2].Bounds.top);
  EXPECT_GE(items[2].Bounds.right, items[2].Bounds.left);
}

TEST(AlignBounds, ItemsOfNoOrNegativeSizeTakeNoRoom) {
  std::vector<TAlignedBounds> items = {{TAlign::Top, {0, 0, 10, 0}},
                                       {TAlign::Bottom, {0, 9, 10, 5}},
                                       {TAlign::Left, {0, 0, 0, 10}},
                                       {TAlign::Right, {7, 0, 3, 10}},
                                       {TAlign::Client, {0, 0, 1, 1}}};
  toolkit::AlignBounds(RECT{0, 0, 100, 50}, items);
  const RECT expected[] = {
      {0, 0, 100, 0}, {0, 50, 100, 50}, {0, 0, 0, 50}, {100, 0, 100, 50}, {0, 0, 100, 50}};
  for (size_t i = 0; i < items.size(); ++i)
    EXPECT_TRUE(Same(items[i].Bounds, expected[i])) << i << ": " << Text(items[i].Bounds);
}

TEST(Layout, ATableWithAChildBeforeItsParentIsRefused) {
  controls::TPanel outer(controls::TBevel::None), inner(controls::TBevel::None);
  const toolkit::TLayoutRow parentFirst[] = {{&outer, nullptr, TAlign::Client, 0, 0, 10, 10, 0, L""},
                                             {&inner, &outer, TAlign::Client, 0, 0, 10, 10, 0, L""}};
  EXPECT_NO_THROW(toolkit::TLayout({std::begin(parentFirst), std::end(parentFirst)}));
  const toolkit::TLayoutRow childFirst[] = {parentFirst[1], parentFirst[0]};
  EXPECT_THROW(toolkit::TLayout({std::begin(childFirst), std::end(childFirst)}), runtime::EInvalidOperation);
  // A component that is not in the table cannot be asked for.
  toolkit::TLayout layout({std::begin(parentFirst), std::end(parentFirst)});
  controls::TPanel stranger(controls::TBevel::None);
  EXPECT_EQ(layout.Width(inner), 10);
  EXPECT_THROW(layout.Width(stranger), runtime::EInvalidOperation);
}

TEST(Layout, CreatesTheComponentsInTableOrderInsideTheirParents) {
  testing_support::TShown<testing_support::THostForm> form;
  controls::TPanel outer(controls::TBevel::Raised), inner(controls::TBevel::None);
  toolkit::TLayout layout({{&outer, nullptr, TAlign::Top, 0, 0, 0, 50, 2, L""},
                           {&inner, &outer, TAlign::Client, 0, 0, 0, 0, 0, L"Innen"}});
  toolkit::THints hints;
  hints.Create(form.Handle());
  layout.Create(form.Handle(), form.Font(), hints);
  ASSERT_NE(inner.Handle(), nullptr);
  EXPECT_EQ(GetParent(outer.Handle()), form.Handle());
  EXPECT_EQ(GetParent(inner.Handle()), outer.Handle());
  RECT client;
  GetClientRect(form.Handle(), &client);
  RECT r;
  GetWindowRect(inner.Handle(), &r);
  MapWindowPoints(HWND_DESKTOP, outer.Handle(), reinterpret_cast<POINT*>(&r), 2);
  // Inside the outer panel's border of 2 pixels.
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.top, 2);
  EXPECT_EQ(r.right, client.right - 2);
  EXPECT_EQ(r.bottom, 48);
}
