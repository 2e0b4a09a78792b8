// The string list and the report's name=value rows.
#include <gtest/gtest.h>

#include "drive/PairStringList.h"
#include "runtime/Errors.h"
#include "runtime/StringList.h"

TEST(StringList, TextEndsEveryLineWithCrLf) {
  runtime::TStringList list;
  EXPECT_EQ(list.Text(), "");
  list.Add("");
  EXPECT_EQ(list.Text(), "\r\n");
  list.Add("b");
  list.Insert(0, "a");
  list.Insert(3, "c");
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Text(), "a\r\n\r\nb\r\nc\r\n");
}

TEST(StringList, IndexesOutsideTheListThrow) {
  runtime::TStringList list;
  list.Add("x");
  EXPECT_THROW(list[1], runtime::EListError);
  EXPECT_THROW(list[-1], runtime::EListError);
  EXPECT_THROW(list.Insert(2, "y"), runtime::EListError);
  EXPECT_EQ(list.Count(), 1);
}

TEST(PairStringList, SplitsAtTheFirstEqualsSign) {
  drive::TPairStringList list;
  list.Add("Volume-Name=A=B");
  list.Add("Volume-Name=");
  list.Add("ohne Wert");
  list.Add("=nur Wert");
  EXPECT_EQ(list.NameAt(0), "Volume-Name");
  EXPECT_EQ(list.ValueAt(0), "A=B");
  EXPECT_EQ(list.NameAt(1), "Volume-Name");
  EXPECT_EQ(list.ValueAt(1), "");
  EXPECT_EQ(list.NameAt(2), "ohne Wert");
  EXPECT_EQ(list.ValueAt(2), "");
  EXPECT_EQ(list.NameAt(3), "");
  EXPECT_EQ(list.ValueAt(3), "nur Wert");
}
