#include "about/AboutFigures.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace about {

namespace {

const double kBytesToMegabytes = 9.5367431640625e-07;  // 2^-20
const int kClockPrecision = 5;                         // significant digits

// An ASCII text (digits, signs, a point) as UTF-16.
std::wstring Widened(const char* text) {
  std::wstring wide;
  for (; *text; ++text) wide += static_cast<wchar_t>(static_cast<unsigned char>(*text));
  return wide;
}

std::wstring Replace(const char* text, char from, const std::wstring& to) {
  std::wstring wide = Widened(text);
  const size_t at = wide.find(static_cast<wchar_t>(from));
  if (at != std::wstring::npos) wide.replace(at, 1, to);
  return wide;
}

// The double nearest to digits * 10^-places, as reading the decimal text would give it. (The
// runtime's text-to-number reader would add 14 KB to the program for this one use.) The quotient
// of two exact doubles is rounded once in double arithmetic; in the x87 unit's extended arithmetic
// it is rounded twice, which for every five-digit number and every scale up to 10^16 was found to
// give the same double.
double DecimalValue(long digits, int places) {
  double scale = 1;
  for (int i = 0; i < places; ++i) scale *= 10;  // exact up to 10^22; beyond, the value prints 0.00
  return static_cast<double>(digits) / scale;
}

}  // namespace

std::wstring FreeMemoryText(unsigned long long availPhysBytes) {
  const double megabytes = static_cast<double>(availPhysBytes) * kBytesToMegabytes;
  char text[64];
  std::snprintf(text, sizeof(text), "%.2f Mb", megabytes);
  return Widened(text);
}

std::wstring ClockText(double mhz, const std::wstring& decimalSeparator) {
  if (!(mhz >= 0)) return L"";
  // Five significant digits: d.dddde±x.
  char scientific[32];
  std::snprintf(scientific, sizeof(scientific), "%.*e", kClockPrecision - 1, mhz);
  const char* e = std::strchr(scientific, 'e');
  if (!e) return Widened(scientific);  // "inf"
  const int exponent = std::atoi(e + 1);
  if (exponent + 1 > kClockPrecision) {
    char exponentText[8];
    std::snprintf(exponentText, sizeof(exponentText), "E+%02d", exponent);
    const std::string mantissa(scientific, static_cast<size_t>(e - scientific));
    return Replace(mantissa.c_str(), '.', decimalSeparator) + Widened(exponentText);
  }
  // The five digits without the point, as a whole number, and the value they stand for.
  const long digits = std::atol(scientific) * 10000 + std::atol(scientific + 2);
  const double rounded = exponent >= kClockPrecision - 1
                             ? static_cast<double>(digits)
                             : DecimalValue(digits, kClockPrecision - 1 - exponent);
  char fixed[32];
  std::snprintf(fixed, sizeof(fixed), "%.2f", rounded);
  return Replace(fixed, '.', decimalSeparator);
}

std::wstring LinkAddress(const std::wstring& caption) {
  std::wstring scheme = caption.substr(0, 7);
  // Only ASCII letters count: "HTTP://" is the scheme, a look-alike letter is not.
  for (wchar_t& c : scheme)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return scheme == L"http://" ? caption : L"http://" + caption;
}

std::wstring MailLink(const std::wstring& address, const std::wstring& title, const std::wstring& version) {
  return L"mailto:" + address + L"?subject=" + title + L": Version " + version;
}

std::wstring HomePageAddress(const std::wstring& host) {
  return L"http://" + host + L"/";
}

std::wstring FolderPart(const std::wstring& path) {
  // The separators of runtime::FileNamePart, so that the two parts make the whole path.
  const size_t end = path.find_last_of(L"\\/:");
  if (end == std::wstring::npos) return L"";
  // "C:\dir\file" gives "C:\dir", but "C:\file" keeps the root's separator.
  const auto isSeparator = [](wchar_t c) { return c == L'\\' || c == L'/' || c == L':'; };
  const bool afterSeparator = end > 0 && isSeparator(path[end - 1]);
  if (path[end] != L':' && end > 0 && !afterSeparator) return path.substr(0, end);
  return path.substr(0, end + 1);
}

}  // namespace about
