#include "runtime/Text.h"

#include <windows.h>

namespace runtime {

namespace {

const UINT kCp1252 = 1252;

}  // namespace

std::wstring WideFromCodePage(unsigned codePage, std::string_view text) {
  if (text.empty()) return L"";
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::string BytesFromWide(unsigned codePage, unsigned long flags, const char* replacement,
                          std::wstring_view text) {
  if (text.empty()) return "";
  const int size = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, replacement, nullptr);
  std::string bytes(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(codePage, flags, text.data(), size, bytes.data(), length, replacement, nullptr);
  return bytes;
}

std::wstring WideFromCp1252(std::string_view text) {
  return WideFromCodePage(kCp1252, text);
}

void WideFromCp1252(const char* text, wchar_t* buffer, int size) noexcept {
  if (size <= 0) return;
  int length = 0;
  for (; length < size - 1 && text[length]; ++length) {
  }
  const int written = MultiByteToWideChar(kCp1252, 0, text, length, buffer, size - 1);
  buffer[written > 0 ? written : 0] = L'\0';
}

std::string Cp1252FromWide(std::wstring_view text) {
  // A surrogate pair is one character and gets one '?': it is made one character outside code page
  // 1252 first, as a lone surrogate is.
  std::wstring single(text);
  size_t out = 0;
  for (size_t i = 0; i < single.size(); ++i) {
    const bool pair =
        IS_HIGH_SURROGATE(single[i]) && i + 1 < single.size() && IS_LOW_SURROGATE(single[i + 1]);
    single[out++] = pair ? L'\xFFFD' : single[i];
    if (pair) ++i;
  }
  single.resize(out);
  return BytesFromWide(kCp1252, WC_NO_BEST_FIT_CHARS, "?", single);
}

std::wstring DecimalText(long long value) {
  wchar_t digits[24];
  wchar_t* end = digits + 24;
  wchar_t* first = end;
  unsigned long long magnitude =
      value < 0 ? 0ull - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  do {
    *--first = static_cast<wchar_t>(L'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  if (value < 0) *--first = L'-';
  return std::wstring(first, end);
}

std::wstring LongPathForm(const std::wstring& path) {
  // A folder's limit is 12 characters below a file's: room for an 8.3 name inside it.
  if (path.size() < MAX_PATH - 12 || path.starts_with(L"\\\\?\\")) return path;
  std::wstring whole = path;
  // The long form passes the path on unparsed: only backslashes separate there.
  for (wchar_t& c : whole)
    if (c == L'/') c = L'\\';
  if (whole.size() > 2 && whole[1] == L':' && whole[2] == L'\\') return L"\\\\?\\" + whole;
  if (whole.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + whole.substr(2);
  return path;
}

std::wstring FileNamePart(const std::wstring& path) {
  const size_t separator = path.find_last_of(L"\\/:");
  return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

}  // namespace runtime
