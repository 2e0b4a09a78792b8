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

// A movable block with the zero-terminated text, for the clipboard.
template <typename Char>
TGlobalMemory ClipboardBlock(const std::basic_string<Char>& text) {
  const size_t size = (text.size() + 1) * sizeof(Char);
  TGlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, size));
  if (!memory) throw std::bad_alloc();
  void* data = GlobalLock(memory.Get());
  if (!data) throw std::bad_alloc();
  std::memcpy(data, text.c_str(), size);
  GlobalUnlock(memory.Get());
  return memory;
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

}  // namespace

void SetClipboardText(HWND owner, const std::string& bytes, const std::wstring& text) {
  // The whole text is ready before the clipboard is emptied, so a failure leaves it as it was.
  TGlobalMemory narrow = ClipboardBlock(bytes), wide = ClipboardBlock(text);

  TOpenClipboard clipboard(owner);
  EmptyClipboard();
  if (!SetClipboardData(CF_UNICODETEXT, wide.Get()))
    throw EClipboardError(L"Die Zwischenablage nimmt den Text nicht an");
  wide.Detach();  // the clipboard owns it now
  if (!SetClipboardData(CF_TEXT, narrow.Get()))
    throw EClipboardError(L"Die Zwischenablage nimmt den Text nicht an");
  narrow.Detach();
}

std::string ClipboardText(HWND owner) {
  return ClipboardData<char>(owner, CF_TEXT);
}

std::wstring ClipboardUnicodeText(HWND owner) {
  return ClipboardData<wchar_t>(owner, CF_UNICODETEXT);
}

}  // namespace toolkit
