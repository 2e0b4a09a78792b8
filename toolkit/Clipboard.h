// The clipboard: code page 1252 bytes (CF_TEXT) with their language (CF_LOCALE) beside the same
// text whole (CF_UNICODETEXT), which Windows programs paste, and a typed table for spreadsheets
// ("HTML Format").
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "runtime/Errors.h"

namespace toolkit {

class EClipboardError : public runtime::Exception {
 public:
  using runtime::Exception::Exception;
};

// What a copy puts on the clipboard.
struct TClipboardContent {
  std::string Bytes;           // CF_TEXT
  std::wstring Text;           // CF_UNICODETEXT
  LCID Locale = 0;             // CF_LOCALE, the language of Bytes; 0: the system's guess
  std::string HtmlFragment{};  // "HTML Format" around this UTF-8 fragment; empty: none
};

// Replaces the clipboard's contents for owner. With unchangedSince, only if the clipboard's sequence
// number (GetClipboardSequenceNumber) is still that one, so that a copy made late never replaces
// what was copied after it was asked for; returns false when it left the clipboard alone. Another
// program may hold the clipboard open for a moment: opening is tried for a short while, then
// EClipboardError is raised and the clipboard keeps what it held.
bool SetClipboardContent(HWND owner, const TClipboardContent& content,
                         std::optional<DWORD> unchangedSince = std::nullopt);
// Bytes and text only.
void SetClipboardText(HWND owner, const std::string& bytes, const std::wstring& text);

// The registered "HTML Format".
UINT HtmlClipboardFormat();
// The "HTML Format" block of a UTF-8 fragment: its header's byte offsets, then a document around it.
std::string ClipboardHtmlBlock(const std::string& fragment);

// A format's data as bytes, cut at the first zero byte; empty when the clipboard holds none.
std::string ClipboardBytes(HWND owner, UINT format);

// The clipboard's plain text (CF_TEXT), empty when it holds none.
std::string ClipboardText(HWND owner);
// The clipboard's Unicode text (CF_UNICODETEXT), empty when it holds none.
std::wstring ClipboardUnicodeText(HWND owner);

}  // namespace toolkit
