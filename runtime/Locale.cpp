#include "runtime/Locale.h"

#include <windows.h>

namespace runtime {

namespace {
// The whole value, however long; empty when it cannot be read.
std::string Read(LCTYPE type) {
  const int size = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, nullptr, 0);
  if (size <= 0) return "";
  std::string text(static_cast<size_t>(size), '\0');
  if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text.data(), size)) return "";
  text.resize(text.find('\0'));
  return text;
}

// The user's separator; an empty or unreadable one gives the locale's own default.
std::string LocaleText(LCTYPE type, const char* fallback) {
  std::string text = Read(type);
  if (text.empty()) text = Read(type | LOCALE_NOUSEROVERRIDE);
  return text.empty() ? fallback : text;
}
}  // namespace

TNumberSeparators UserNumberSeparators() {
  return {LocaleText(LOCALE_STHOUSAND, ","), LocaleText(LOCALE_SDECIMAL, ".")};
}

}  // namespace runtime
