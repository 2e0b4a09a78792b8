#include "toolkit/Locale.h"

#include <windows.h>

namespace tk {

namespace {
std::string LocaleText(LCTYPE type, const char* fallback) {
  char buffer[8] = "";
  if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof(buffer))) return fallback;
  return buffer;
}
}  // namespace

TNumberSeparators UserNumberSeparators() {
  return {LocaleText(LOCALE_STHOUSAND, ","), LocaleText(LOCALE_SDECIMAL, ".")};
}

}  // namespace tk
