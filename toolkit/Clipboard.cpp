#include "toolkit/Clipboard.h"

#include <cstring>

#include "toolkit/Handles.h"

namespace tk {

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
    throw EClipboardError("Die Zwischenablage kann nicht geöffnet werden");
  }
  TOpenClipboard(const TOpenClipboard&) = delete;
  TOpenClipboard& operator=(const TOpenClipboard&) = delete;
  ~TOpenClipboard() { CloseClipboard(); }
};

}  // namespace

void SetClipboardText(HWND owner, const std::string& text) {
  // The whole text is ready before the clipboard is emptied, so a failure leaves it as it was.
  TGlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
  if (!memory) throw std::bad_alloc();
  void* data = GlobalLock(memory.Get());
  if (!data) throw std::bad_alloc();
  std::memcpy(data, text.c_str(), text.size() + 1);
  GlobalUnlock(memory.Get());

  TOpenClipboard clipboard(owner);
  EmptyClipboard();
  if (!SetClipboardData(CF_TEXT, memory.Get()))
    throw EClipboardError("Die Zwischenablage nimmt den Text nicht an");
  memory.Detach();  // the clipboard owns it now
}

std::string ClipboardText(HWND owner) {
  TOpenClipboard clipboard(owner);
  HANDLE data = GetClipboardData(CF_TEXT);
  if (!data) return "";
  const char* text = static_cast<const char*>(GlobalLock(data));
  if (!text) return "";
  std::string copy(text, strnlen(text, GlobalSize(data)));
  GlobalUnlock(data);
  return copy;
}

}  // namespace tk
