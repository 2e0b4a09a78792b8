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
    heard_ = &Events;
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
  std::vector<std::pair<DWORD, LONG>> Events;

 private:
  static void CALLBACK Hear(HWINEVENTHOOK, DWORD event, HWND, LONG, LONG child, DWORD, DWORD) {
    if (heard_) heard_->push_back({event, child});
  }
  static inline std::vector<std::pair<DWORD, LONG>>* heard_ = nullptr;
  HWINEVENTHOOK hook_;
};

}  // namespace testing_support
