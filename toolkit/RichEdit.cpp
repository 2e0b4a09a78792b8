#include "toolkit/RichEdit.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

#include "runtime/Errors.h"
#include "toolkit/Theme.h"

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
  if (CurrentScheme() == TScheme::Dark) ThemeChanged();
}

void TRichEdit::ThemeChanged() {
  // Light and high contrast: the system's page colour and every text in the automatic colour, as the
  // document came; dark: the palette's page and text colour for all of it.
  const bool dark = CurrentScheme() == TScheme::Dark;
  SendMessageW(Handle(), EM_SETBKGNDCOLOR, !dark, static_cast<LPARAM>(Color(TRole::Window)));
  CHARFORMAT2W format{};
  format.cbSize = sizeof(format);
  format.dwMask = CFM_COLOR;
  format.dwEffects = dark ? 0 : CFE_AUTOCOLOR;
  format.crTextColor = Color(TRole::WindowText);
  SendMessageW(Handle(), EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
  if (dark != darkScrollBars_) SetDarkScrollBars(Handle(), dark);
  darkScrollBars_ = dark;
}

}  // namespace toolkit
