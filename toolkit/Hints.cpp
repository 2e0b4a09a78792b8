#include "toolkit/Hints.h"

#include <commctrl.h>

namespace tk {

void THints::Create(HWND form) {
  CreateSystemHandle(TOOLTIPS_CLASSA, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, WS_EX_TOPMOST, form);
  // A maximum width turns on line breaks at "\r\n"; it is wide enough that no hint wraps otherwise.
  SendMessageA(Handle(), TTM_SETMAXTIPWIDTH, 0, 600);
}

namespace {
TOOLINFOA ToolOf(HWND control, const std::string& hint) {
  TOOLINFOA tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = const_cast<char*>(hint.c_str());
  return tool;
}
}  // namespace

void THints::Add(HWND control, const std::string& hint) {
  if (hint.empty()) return;
  TOOLINFOA tool = ToolOf(control, hint);
  SendMessageA(Handle(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void THints::Set(HWND control, const std::string& hint) {
  TOOLINFOA tool = ToolOf(control, hint);
  SendMessageA(Handle(), TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  Add(control, hint);
}

}  // namespace tk
