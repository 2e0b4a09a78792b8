// The number separators of the user's regional settings.
#pragma once

#include <string>

namespace runtime {

struct TNumberSeparators {
  std::string Thousands;
  std::string Decimal;
};

// The separators that the user's regional settings give now, whatever their length; an empty or
// unreadable one is the locale's default ("," and "." where even that cannot be read).
TNumberSeparators UserNumberSeparators();

}  // namespace runtime
