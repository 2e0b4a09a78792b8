#include "drive/NumberFormat.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace drive {

namespace {

// The digits with the separator between groups of three, counted from the right.
std::wstring Group(const std::string& digits, const std::wstring& separator) {
  std::wstring out;
  out.reserve(digits.size() + digits.size() / 3 * separator.size());
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
    out += static_cast<wchar_t>(digits[i]);
  }
  return out;
}

bool AllZero(const std::string& digits) {
  return digits.find_first_not_of('0') == std::string::npos;
}

}  // namespace

std::wstring FormatWholeNumber(unsigned long long value, const runtime::TNumberSeparators& separators) {
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + value % 10));
    value /= 10;
  } while (value);
  return Group(digits, separators.Thousands);
}

std::wstring FormatWholeNumber(long long value, const runtime::TNumberSeparators& separators) {
  // The magnitude in unsigned arithmetic: that of the smallest value does not fit a long long.
  const unsigned long long magnitude = static_cast<unsigned long long>(value);
  return value < 0 ? L"-" + FormatWholeNumber(0 - magnitude, separators)
                   : FormatWholeNumber(magnitude, separators);
}

std::wstring FormatFourDecimals(double value, const runtime::TNumberSeparators& separators) {
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
  std::wstring text = negative ? L"-" : L"";
  text += Group(whole, separators.Thousands);
  text += separators.Decimal;
  text += Group(fraction, L"");
  return text;
}

std::wstring FormatSerialHex(unsigned long long value) {
  std::wstring text(8, L'0');
  for (size_t i = text.size(); i-- > 0; value >>= 4) text[i] = L"0123456789ABCDEF"[value & 15];
  return text;
}

int RoundHalfToEven(double value) {
  if (std::isnan(value)) return 0;
  // nearbyint rounds in the current mode, which is round-to-nearest-even unless changed.
  // Both ends are exact doubles: what lies beyond stops there.
  return static_cast<int>(
      std::clamp(std::nearbyint(value), static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

}  // namespace drive
