// WinEvents of the test's own windows, heard as a screen reader hooks them (out of context).
#pragma once

#include <windows.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace testing_support {

// Hears the events from first to last while it lives: each event with its child id. One at a time.
class TWinEventListener {
 public:
  TWinEventListener(DWORD first, DWORD last)
      : hook_(SetWinEventHook(first, last, nullptr, Hear, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT)) {
    heard_ = this;
  }
  ~TWinEventListener() {
    UnhookWinEvent(hook_);
    heard_ = nullptr;
  }
  TWinEventListener(const TWinEventListener&) = delete;
  TWinEventListener& operator=(const TWinEventListener&) = delete;
  bool Heard(DWORD event, LONG child) const {
    return std::find(Events.begin(), Events.end(), std::pair{event, child}) != Events.end();
  }
  // Whether the window raised the event (for its client object, child id self).
  bool HeardFrom(HWND window, DWORD event) const {
    for (size_t i = 0; i < Events.size(); ++i)
      if (Windows[i] == window && Events[i] == std::pair{event, LONG{CHILDID_SELF}}) return true;
    return false;
  }
  std::vector<std::pair<DWORD, LONG>> Events;
  std::vector<HWND> Windows;  // of each event

 private:
  static void CALLBACK Hear(HWINEVENTHOOK, DWORD event, HWND window, LONG, LONG child, DWORD, DWORD) {
    if (!heard_) return;
    heard_->Events.push_back({event, child});
    heard_->Windows.push_back(window);
  }
  static inline TWinEventListener* heard_ = nullptr;
  HWINEVENTHOOK hook_;
};

}  // namespace testing_support
