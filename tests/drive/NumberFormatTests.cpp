// Number texts with explicit separators, and the gauge's rounding.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "drive/NumberFormat.h"

using drive::FormatFourDecimals;
using drive::FormatWholeNumber;
using drive::RoundHalfToEven;

namespace {
const runtime::TNumberSeparators kGerman{L".", L","};
const runtime::TNumberSeparators kEnglish{L",", L"."};
}  // namespace

TEST(FormatWholeNumber, GroupsByThreeFromTheRight) {
  const struct {
    long long value;
    const wchar_t* text;
  } cases[] = {{0, L"0"},
               {7, L"7"},
               {999, L"999"},
               {1000, L"1.000"},
               {12345, L"12.345"},
               {123456, L"123.456"},
               {1234567890, L"1.234.567.890"},
               {-1234, L"-1.234"},
               {-48576, L"-48.576"},
               {4294967296, L"4.294.967.296"},
               {LLONG_MIN, L"-9.223.372.036.854.775.808"}};
  for (const auto& c : cases) EXPECT_EQ(FormatWholeNumber(c.value, kGerman), c.text) << c.value;
  EXPECT_EQ(FormatWholeNumber(ULLONG_MAX, kGerman), L"18.446.744.073.709.551.615");
  EXPECT_EQ(FormatWholeNumber(1234567890ull, kEnglish), L"1,234,567,890");
  // The regional settings may use a separator of more than one character, or one beyond code page 1252.
  EXPECT_EQ(FormatWholeNumber(1234567ull, {L"''", L"."}), L"1''234''567");
  EXPECT_EQ(FormatWholeNumber(1234567ull, {L"\u202F", L","}), L"1\u202F234\u202F567");
  EXPECT_EQ(FormatWholeNumber(1234567ull, {L"", L"."}), L"1234567");
}

TEST(FormatFourDecimals, WritesExactlyFourDecimals) {
  EXPECT_EQ(FormatFourDecimals(25, kGerman), L"25,0000");
  EXPECT_EQ(FormatFourDecimals(25, kEnglish), L"25.0000");
  EXPECT_EQ(FormatFourDecimals(0, kGerman), L"0,0000");
  EXPECT_EQ(FormatFourDecimals(100, kGerman), L"100,0000");
  EXPECT_EQ(FormatFourDecimals(100.0 / 3, kGerman), L"33,3333");
  EXPECT_EQ(FormatFourDecimals(200.0 / 3, kGerman), L"66,6667");
  EXPECT_EQ(FormatFourDecimals(0.00004, kGerman), L"0,0000");
  EXPECT_EQ(FormatFourDecimals(1234.5, kGerman), L"1.234,5000");
}

TEST(FormatFourDecimals, RoundsHalvesAwayFromZero) {
  // Exact binary halves at the fifth decimal: halves to even would give ...12 and ...62.
  EXPECT_EQ(FormatFourDecimals(0.03125, kGerman), L"0,0313");
  EXPECT_EQ(FormatFourDecimals(0.15625, kGerman), L"0,1563");
  EXPECT_EQ(FormatFourDecimals(-0.03125, kGerman), L"-0,0313");
  // Carries run through all digits.
  EXPECT_EQ(FormatFourDecimals(99.99996, kGerman), L"100,0000");
  EXPECT_EQ(FormatFourDecimals(9.999951, kGerman), L"10,0000");
  // 99.99995 is stored as 99.99994999999999834...: below the half.
  EXPECT_EQ(FormatFourDecimals(99.99995, kGerman), L"99,9999");
  EXPECT_EQ(FormatFourDecimals(0.00005, kGerman), L"0,0001");
}

TEST(FormatFourDecimals, RoundsOnTheEighteenDigitForm) {
  // 0.01405 is stored as 0.014049999999999999...: below the half, but its 18-digit form is
  // 0.0140500000000000000, exactly the half, which rounds up.
  EXPECT_EQ(FormatFourDecimals(0.01405, kGerman), L"0,0141");
  EXPECT_EQ(FormatFourDecimals(0.02495, kGerman), L"0,0250");
  // 0.1 + 0.2 is 0.30000000000000004: four decimals are 0,3000.
  EXPECT_EQ(FormatFourDecimals(0.1 + 0.2, kGerman), L"0,3000");
}

TEST(FormatFourDecimals, NonFiniteValuesNeverShowAsText) {
  EXPECT_EQ(FormatFourDecimals(std::nan(""), kGerman), L"0,0000");
  EXPECT_EQ(FormatFourDecimals(INFINITY, kGerman), L"0,0000");
}

TEST(RoundHalfToEven, RoundsHalvesToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfToEven(12.5), 12);
  EXPECT_EQ(RoundHalfToEven(13.5), 14);
  EXPECT_EQ(RoundHalfToEven(0.5), 0);
  EXPECT_EQ(RoundHalfToEven(99.5), 100);
  EXPECT_EQ(RoundHalfToEven(12.5000001), 13);
  EXPECT_EQ(RoundHalfToEven(-2.5), -2);
  EXPECT_EQ(RoundHalfToEven(69.1999), 69);
  EXPECT_EQ(RoundHalfToEven(1e300), INT_MAX);
  EXPECT_EQ(RoundHalfToEven(-1e300), INT_MIN);
  EXPECT_EQ(RoundHalfToEven(std::nan("")), 0);
}
