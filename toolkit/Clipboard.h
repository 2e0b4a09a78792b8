// The clipboard, plain text only.
#pragma once

#include <windows.h>

#include <string>

#include "runtime/Errors.h"

namespace tk {

class EClipboardError : public Exception {
 public:
  using Exception::Exception;
};

// Replaces the clipboard's contents with text (single-byte, ANSI code page) for owner. Another
// program may hold the clipboard open for a moment: opening is tried for a short while, then
// EClipboardError is raised and the clipboard keeps what it held.
void SetClipboardText(HWND owner, const std::string& text);

// The clipboard's plain text, empty when it holds none.
std::string ClipboardText(HWND owner);

}  // namespace tk
