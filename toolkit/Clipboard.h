// The clipboard, plain text only: code page 1252 bytes (CF_TEXT) beside the same text whole
// (CF_UNICODETEXT), which Windows programs paste.
#pragma once

#include <windows.h>

#include <string>

#include "runtime/Errors.h"

namespace toolkit {

class EClipboardError : public runtime::Exception {
 public:
  using runtime::Exception::Exception;
};

// Replaces the clipboard's contents with bytes (CF_TEXT) and text (CF_UNICODETEXT) for owner. Another
// program may hold the clipboard open for a moment: opening is tried for a short while, then
// EClipboardError is raised and the clipboard keeps what it held.
void SetClipboardText(HWND owner, const std::string& bytes, const std::wstring& text);

// The clipboard's plain text (CF_TEXT), empty when it holds none.
std::string ClipboardText(HWND owner);
// The clipboard's Unicode text (CF_UNICODETEXT), empty when it holds none.
std::wstring ClipboardUnicodeText(HWND owner);

}  // namespace toolkit
