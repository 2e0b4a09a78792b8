// A message box or dialog that a test leaves open would hold that test in the box's own message loop
// until CTest's limit. A guard on a thread of its own fails the running test instead, naming the box,
// and closes it so that the test goes on to its end.
#pragma once

#include <windows.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>

namespace testing_support {

// What a dialog window shows: its title and the texts of its children, in their order.
std::wstring BoxText(HWND box);

class TUnexpectedBoxGuard {
 public:
  // A box that stays open longer than the grace is unexpected: the tests that expect one answer it
  // at once, from a thread of their own.
  explicit TUnexpectedBoxGuard(DWORD graceMilliseconds = 5000);
  ~TUnexpectedBoxGuard();
  TUnexpectedBoxGuard(const TUnexpectedBoxGuard&) = delete;
  TUnexpectedBoxGuard& operator=(const TUnexpectedBoxGuard&) = delete;

 private:
  void Run();
  // One round: notes the process's open dialogs and fails and closes those open beyond the grace.
  void Look();

  const DWORD grace_;
  // Each open dialog: when it was first seen, and how often it was asked to close.
  struct TSeen {
    ULONGLONG Since;
    unsigned Closes;
  };
  std::map<HWND, TSeen> seen_;
  std::atomic<bool> stop_{false};
  // Last: the thread starts once everything it uses is made.
  std::thread thread_;
};

}  // namespace testing_support
