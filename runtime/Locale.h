// The number separators of the user's regional settings.
#pragma once

#include <string>

namespace runtime {

// Whole, as the system gives them: a separator beyond code page 1252 (U+202F in French) is kept.
struct TNumberSeparators {
  std::wstring Thousands;
  std::wstring Decimal;
};

// The separators that the user's regional settings give now, whatever their length; an empty or
// unreadable one is the locale's default ("," and "." where even that cannot be read).
TNumberSeparators UserNumberSeparators();

}  // namespace runtime
