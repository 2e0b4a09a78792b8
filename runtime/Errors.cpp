#include "runtime/Errors.h"

#include "runtime/Text.h"

namespace runtime {

Exception::Exception(std::wstring message)
    : message_(std::move(message)), narrow_(Cp1252FromWide(message_)) {}

std::wstring EInOutError::MessageFor(DWORD code) {
  switch (code) {
    case ERROR_PATH_NOT_FOUND:
      return L"Ungültiger Dateiname";
    case ERROR_ACCESS_DENIED:
      return L"Dateizugriff verweigert";
    default:
      return L"E/A-Fehler " + DecimalText(code);
  }
}

std::wstring SystemErrorText(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring result(text ? text : L"", length);
  if (text) LocalFree(text);
  while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r' || result.back() == L' '))
    result.pop_back();
  return result;
}

namespace {
std::wstring WithCause(const std::wstring& what, DWORD code) {
  const std::wstring text = SystemErrorText(code);
  return what + L" (Fehler " + DecimalText(code) + (text.empty() ? L")" : L": " + text + L")");
}
}  // namespace

ESystemError::ESystemError(const std::wstring& what, DWORD code)
    : Exception(WithCause(what, code)), ErrorCode(code) {}

void ThrowLastError(std::wstring_view what, std::wstring_view name) {
  const DWORD code = GetLastError();
  std::wstring text(what);
  text += name;
  throw ESystemError(text, code);
}

}  // namespace runtime
