#include "toolkit/Hints.h"

#include <commctrl.h>

#include <algorithm>

#include "toolkit/Application.h"
#include "toolkit/Theme.h"

namespace toolkit {

namespace {

// The wide form: a hint may hold a path in any script.
TOOLINFOW ToolOf(HWND control, const std::wstring& hint) {
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = const_cast<wchar_t*>(hint.c_str());
  return tool;
}

}  // namespace

THints::~THints() {
  for (const auto& [control, hint] : waiting_) RemoveWindowSubclass(control, &THints::WatchProc, WatchId());
}

void THints::Create(HWND form) {
  form_ = form;
}

void THints::MakeWindow() {
  // The watches end first: a window that cannot be made is reported once, not at every move.
  std::vector<std::pair<HWND, std::wstring>> waiting;
  waiting.swap(waiting_);
  for (const auto& [control, hint] : waiting) RemoveWindowSubclass(control, &THints::WatchProc, WatchId());
  CreateSystemHandle(TOOLTIPS_CLASSW, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, WS_EX_TOPMOST, form_);
  // A maximum width turns on line breaks at "\r\n"; it is wide enough that no hint wraps otherwise.
  SendMessageW(Handle(), TTM_SETMAXTIPWIDTH, 0, 600);
  if (CurrentScheme() == TScheme::Dark) ThemeChanged();
  for (const auto& [control, hint] : waiting) AddTool(control, hint);
}

void THints::ThemeChanged() {
  SendMessageW(Handle(), TTM_SETTIPBKCOLOR, Color(TRole::TipBack), 0);
  SendMessageW(Handle(), TTM_SETTIPTEXTCOLOR, Color(TRole::TipText), 0);
}

void THints::AddTool(HWND control, const std::wstring& hint) {
  TOOLINFOW tool = ToolOf(control, hint);
  SendMessageW(Handle(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void THints::Forget(HWND control) {
  const auto waiting =
      std::find_if(waiting_.begin(), waiting_.end(), [&](const auto& w) { return w.first == control; });
  if (waiting == waiting_.end()) return;
  RemoveWindowSubclass(control, &THints::WatchProc, WatchId());
  waiting_.erase(waiting);
}

void THints::Add(HWND control, const std::wstring& hint) {
  if (hint.empty()) return;
  if (Handle()) {
    AddTool(control, hint);
    return;
  }
  Forget(control);
  waiting_.emplace_back(control, hint);
  SetWindowSubclass(control, &THints::WatchProc, WatchId(), 0);
}

void THints::Set(HWND control, const std::wstring& hint) {
  if (Handle()) {
    TOOLINFOW tool = ToolOf(control, hint);
    SendMessageW(Handle(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  } else {
    Forget(control);
  }
  Add(control, hint);
}

LRESULT CALLBACK THints::WatchProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR hints,
                                   DWORD_PTR) noexcept {
  auto& self = *reinterpret_cast<THints*>(hints);
  if (message == WM_MOUSEMOVE) {
    // The tip watches the control itself from the next message on.
    RunHandler([&] { self.MakeWindow(); });
  } else if (message == WM_NCDESTROY) {
    self.Forget(control);
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace toolkit
