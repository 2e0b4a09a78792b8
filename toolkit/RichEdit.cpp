#include "toolkit/RichEdit.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

#include "runtime/Errors.h"

namespace toolkit {

namespace {

struct TRtfSource {
  std::string_view Text;
  size_t Position = 0;
};

DWORD CALLBACK ReadRtf(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* read) noexcept {
  auto* source = reinterpret_cast<TRtfSource*>(cookie);
  const size_t n = std::min(static_cast<size_t>(count), source->Text.size() - source->Position);
  std::memcpy(buffer, source->Text.data() + source->Position, n);
  source->Position += n;
  *read = static_cast<LONG>(n);
  return 0;
}

}  // namespace

const wchar_t* LoadRichEdit(bool preferMsftedit, TLibrary& library) {
  if (preferMsftedit) {
    library.Reset(LoadLibraryW(L"msftedit.dll"));
    if (library) return MSFTEDIT_CLASS;
  }
  library.Reset(LoadLibraryW(L"riched20.dll"));
  if (library) return RICHEDIT_CLASSW;
  runtime::ThrowLastError(L"Kein Rich-Edit-Steuerelement verfügbar");
}

void TRichEdit::Create(HWND parent) {
  CreateSystemHandle(
      className_,
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0,
      parent);
  // A little room between the frame and the text.
  SendMessageW(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(8, 8));
}

void TRichEdit::LoadRtf(std::string_view rtf) {
  TRtfSource source{rtf};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, ReadRtf};
  SendMessageW(Handle(), EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
}

}  // namespace toolkit
