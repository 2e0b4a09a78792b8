// Number texts of the drive report, with the separators of the user's regional settings.
#pragma once

#include <string>

#include "runtime/Locale.h"

namespace drive {

// A whole number, digits grouped by three from the right; a minus sign only for a negative value.
std::wstring FormatWholeNumber(unsigned long long value, const runtime::TNumberSeparators& separators);
std::wstring FormatWholeNumber(long long value, const runtime::TNumberSeparators& separators);

// Exactly four decimals, rounded with halves away from zero on the value's 18-digit decimal form.
std::wstring FormatFourDecimals(double value, const runtime::TNumberSeparators& separators);

// Eight upper-case hexadecimal digits, leading zeros kept: the low 32 bits of the value.
std::wstring FormatSerialHex(unsigned long long value);

// Rounds to the nearest integer, halves to the even neighbour (12.5 gives 12, 13.5 gives 14);
// saturates at the limits of int.
int RoundHalfToEven(double value);

}  // namespace drive
