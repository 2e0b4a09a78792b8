#include "toolkit/Hints.h"

#include <commctrl.h>

namespace tk {

THints::THints(HWND form)
    : tip_(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr,
                           GetModuleHandleA(nullptr), nullptr)) {
  // A maximum width turns on line breaks at "\r\n"; it is wide enough that no hint wraps otherwise.
  SendMessageA(tip_.Handle(), TTM_SETMAXTIPWIDTH, 0, 600);
}

void THints::Add(HWND control, const std::string& hint) {
  if (hint.empty()) return;
  TOOLINFOA tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = const_cast<char*>(hint.c_str());
  SendMessageA(tip_.Handle(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace tk
