#include "toolkit/Clipboard.h"

#include <cstring>
#include <string_view>

#include "toolkit/Handles.h"

namespace toolkit {

namespace {

const int kOpenAttempts = 20;
const DWORD kOpenRetryMilliseconds = 25;

using TGlobalMemory = TUniqueHandle<HGLOBAL, GlobalFree>;

// Open for the lifetime of the scope.
class TOpenClipboard {
 public:
  explicit TOpenClipboard(HWND owner) {
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
      if (OpenClipboard(owner)) return;
      Sleep(kOpenRetryMilliseconds);
    }
    throw EClipboardError(L"Die Zwischenablage kann nicht geöffnet werden");
  }
  TOpenClipboard(const TOpenClipboard&) = delete;
  TOpenClipboard& operator=(const TOpenClipboard&) = delete;
  ~TOpenClipboard() { CloseClipboard(); }
};

// A movable block with a copy of the bytes, for the clipboard.
TGlobalMemory ClipboardBlock(const void* bytes, size_t size) {
  TGlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, size));
  if (!memory) throw std::bad_alloc();
  void* data = GlobalLock(memory.Get());
  if (!data) throw std::bad_alloc();
  std::memcpy(data, bytes, size);
  GlobalUnlock(memory.Get());
  return memory;
}

// The same with a zero-terminated text.
template <typename Char>
TGlobalMemory ClipboardBlock(const std::basic_string<Char>& text) {
  return ClipboardBlock(text.c_str(), (text.size() + 1) * sizeof(Char));
}

template <typename Char>
std::basic_string<Char> ClipboardData(HWND owner, UINT format) {
  TOpenClipboard clipboard(owner);
  HANDLE data = GetClipboardData(format);
  if (!data) return {};
  const Char* text = static_cast<const Char*>(GlobalLock(data));
  if (!text) return {};
  const std::basic_string_view<Char> all(text, GlobalSize(data) / sizeof(Char));
  std::basic_string<Char> copy(all.substr(0, all.find(Char(0))));
  GlobalUnlock(data);
  return copy;
}

// Hands the block to the clipboard, which owns it from then on.
void Put(UINT format, TGlobalMemory& block) {
  if (!SetClipboardData(format, block.Get()))
    throw EClipboardError(L"Die Zwischenablage nimmt den Text nicht an");
  block.Detach();
}

}  // namespace

bool SetClipboardContent(HWND owner, const TClipboardContent& content, std::optional<DWORD> unchangedSince) {
  // Everything is ready before the clipboard is emptied, so a failure leaves it as it was.
  TGlobalMemory narrow = ClipboardBlock(content.Bytes), wide = ClipboardBlock(content.Text);
  TGlobalMemory locale, html;
  if (content.Locale) locale = ClipboardBlock(&content.Locale, sizeof(content.Locale));
  if (!content.HtmlFragment.empty()) html = ClipboardBlock(ClipboardHtmlBlock(content.HtmlFragment));
  const UINT htmlFormat = html ? HtmlClipboardFormat() : 0;

  TOpenClipboard clipboard(owner);
  // Nobody else can change the clipboard while it is open here.
  if (unchangedSince && GetClipboardSequenceNumber() != *unchangedSince) return false;
  EmptyClipboard();
  Put(CF_UNICODETEXT, wide);
  Put(CF_TEXT, narrow);
  if (locale) Put(CF_LOCALE, locale);
  if (html) Put(htmlFormat, html);
  return true;
}

void SetClipboardText(HWND owner, const std::string& bytes, const std::wstring& text) {
  SetClipboardContent(owner, {bytes, text});
}

UINT HtmlClipboardFormat() {
  const UINT format = RegisterClipboardFormatW(L"HTML Format");
  if (!format) throw EClipboardError(L"Das Format \"HTML Format\" kann nicht angemeldet werden");
  return format;
}

namespace {

// A byte offset of the "HTML Format" header: ten digits, so that the header's length does not
// depend on the offsets.
std::string Offset(size_t value) {
  std::string digits(10, '0');
  for (size_t i = digits.size(); i-- > 0; value /= 10) digits[i] = static_cast<char>('0' + value % 10);
  return digits;
}

std::string HtmlHeader(size_t startHtml, size_t endHtml, size_t startFragment, size_t endFragment) {
  return "Version:0.9\r\nStartHTML:" + Offset(startHtml) + "\r\nEndHTML:" + Offset(endHtml) +
         "\r\nStartFragment:" + Offset(startFragment) + "\r\nEndFragment:" + Offset(endFragment) + "\r\n";
}

}  // namespace

std::string ClipboardHtmlBlock(const std::string& fragment) {
  const std::string before =
      "<html xmlns:x=\"urn:schemas-microsoft-com:office:excel\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
      "</head>\r\n<body>\r\n<!--StartFragment-->";
  const std::string after = "<!--EndFragment-->\r\n</body>\r\n</html>";
  const size_t startHtml = HtmlHeader(0, 0, 0, 0).size();
  const size_t startFragment = startHtml + before.size(), endFragment = startFragment + fragment.size();
  return HtmlHeader(startHtml, endFragment + after.size(), startFragment, endFragment) + before + fragment +
         after;
}

std::string ClipboardBytes(HWND owner, UINT format) {
  return ClipboardData<char>(owner, format);
}

std::string ClipboardText(HWND owner) {
  return ClipboardData<char>(owner, CF_TEXT);
}

std::wstring ClipboardUnicodeText(HWND owner) {
  return ClipboardData<wchar_t>(owner, CF_UNICODETEXT);
}

}  // namespace toolkit
