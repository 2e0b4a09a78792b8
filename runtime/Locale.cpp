#include "runtime/Locale.h"

#include <windows.h>

namespace runtime {

namespace {
// The whole value, however long; empty when it cannot be read.
std::wstring Read(LCTYPE type) {
  const int size = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, nullptr, 0);
  if (size <= 0) return L"";
  std::wstring text(static_cast<size_t>(size), L'\0');
  if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text.data(), size)) return L"";
  text.resize(text.find(L'\0'));
  return text;
}

// The user's separator; an empty or unreadable one gives the locale's own default.
std::wstring LocaleText(LCTYPE type, const wchar_t* fallback) {
  std::wstring text = Read(type);
  if (text.empty()) text = Read(type | LOCALE_NOUSEROVERRIDE);
  return text.empty() ? fallback : text;
}
}  // namespace

TNumberSeparators UserNumberSeparators() {
  return {LocaleText(LOCALE_STHOUSAND, L","), LocaleText(LOCALE_SDECIMAL, L".")};
}

}  // namespace runtime
