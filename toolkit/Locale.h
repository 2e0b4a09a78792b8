// The number separators of the user's regional settings.
#pragma once

#include <string>

namespace tk {

struct TNumberSeparators {
  std::string Thousands;
  std::string Decimal;
};

// The separators that the user's regional settings give now; "," and "." where they cannot be read.
TNumberSeparators UserNumberSeparators();

}  // namespace tk
