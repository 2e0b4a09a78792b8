#include "drive/NumberFormat.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace drive {

namespace {

// Inserts the separator between groups of three digits, counted from the right.
std::string Group(const std::string& digits, const std::string& separator) {
  std::string out;
  out.reserve(digits.size() + digits.size() / 3 * separator.size());
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return out;
}

bool AllZero(const std::string& digits) {
  return digits.find_first_not_of('0') == std::string::npos;
}

}  // namespace

std::string FormatWholeNumber(double value, const runtime::TNumberSeparators& separators) {
  if (!std::isfinite(value)) value = 0;
  char buffer[400];
  // The exact digits of the rounded value (every double above 2^53 is whole already). The
  // formatter is the runtime's exact one, not the floating-point tables of <charconv>, which would
  // add a third to the program's size.
  const int length = std::snprintf(buffer, sizeof(buffer), "%.0f", std::nearbyint(std::fabs(value)));
  const std::string digits(buffer, static_cast<size_t>(length));
  const bool negative = value < 0 && !AllZero(digits);
  std::string text = negative ? "-" : "";
  text += Group(digits, separators.Thousands);
  return text;
}

std::string FormatFourDecimals(double value, const runtime::TNumberSeparators& separators) {
  const int kDecimals = 4;
  if (!std::isfinite(value)) value = 0;
  // 18 significant digits: d.ddddddddddddddddde±x.
  char buffer[64];
  const int length = std::snprintf(buffer, sizeof(buffer), "%.17e", std::fabs(value));
  const std::string scientific(buffer, static_cast<size_t>(length));
  const size_t e = scientific.find('e');
  std::string digits = scientific.substr(0, 1) + scientific.substr(2, e - 2);
  int pointPos = std::atoi(scientific.c_str() + e + 1) + 1;  // digits before the decimal point
  if (pointPos < 1) {
    digits.insert(0, static_cast<size_t>(1 - pointPos), '0');
    pointPos = 1;
  }
  const size_t keep = static_cast<size_t>(pointPos + kDecimals);
  if (digits.size() > keep) {
    const bool roundUp = digits[keep] >= '5';  // halves away from zero
    digits.resize(keep);
    if (roundUp) {
      size_t i = keep;
      while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
      if (i == 0) {
        digits.insert(0, 1, '1');
        ++pointPos;
      } else {
        ++digits[i - 1];
      }
    }
  } else {
    digits.append(keep - digits.size(), '0');
  }
  std::string whole = digits.substr(0, static_cast<size_t>(pointPos));
  const std::string fraction = digits.substr(static_cast<size_t>(pointPos), kDecimals);
  const size_t firstDigit = std::min(whole.find_first_not_of('0'), whole.size() - 1);
  whole.erase(0, firstDigit);
  const bool negative = value < 0 && !AllZero(digits);
  std::string text = negative ? "-" : "";
  text += Group(whole, separators.Thousands);
  text += separators.Decimal;
  text += fraction;
  return text;
}

int RoundHalfToEven(double value) {
  if (std::isnan(value)) return 0;
  // nearbyint rounds in the current mode, which is round-to-nearest-even unless changed.
  const double rounded = std::nearbyint(value);
  if (rounded >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (rounded <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(rounded);
}

}  // namespace drive
