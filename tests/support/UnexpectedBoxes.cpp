#include "tests/support/UnexpectedBoxes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "runtime/Text.h"

namespace testing_support {

namespace {

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

BOOL CALLBACK AddOpenDialog(HWND window, LPARAM found) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t name[16] = L"";
  GetClassNameW(window, name, 16);
  if (process == GetCurrentProcessId() && IsWindowVisible(window) && std::wstring(name) == L"#32770")
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  return TRUE;
}

// The process's visible dialogs (message boxes and the system's file dialogs are of this class).
std::vector<HWND> OpenDialogs() {
  std::vector<HWND> dialogs;
  EnumWindows(&AddOpenDialog, reinterpret_cast<LPARAM>(&dialogs));
  return dialogs;
}

// The answers that close a box without choosing anything, in the order they are tried: Cancel, then
// No (a yes/no box has no Cancel), then OK (a box with OK alone).
constexpr WPARAM kCloseAnswers[] = {IDCANCEL, IDNO, IDOK};

}  // namespace

std::wstring BoxText(HWND box) {
  std::wstring text = L"\"" + WindowText(box) + L"\"";
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (const std::wstring part = WindowText(child); !part.empty()) text += L" | " + part;
  return text;
}

TUnexpectedBoxGuard::TUnexpectedBoxGuard(DWORD graceMilliseconds)
    : grace_(graceMilliseconds), thread_([this] { Run(); }) {}

TUnexpectedBoxGuard::~TUnexpectedBoxGuard() {
  stop_ = true;
  thread_.join();
}

void TUnexpectedBoxGuard::Run() {
  while (!stop_) {
    Look();
    Sleep(100);
  }
}

void TUnexpectedBoxGuard::Look() {
  const ULONGLONG now = GetTickCount64();
  std::map<HWND, TSeen> open;
  for (HWND box : OpenDialogs()) {
    TSeen seen = seen_.contains(box) ? seen_[box] : TSeen{now, 0u};
    if (now - seen.Since >= grace_ + static_cast<ULONGLONG>(seen.Closes) * 1000) {
      if (seen.Closes == 0) {
        const std::string text = runtime::Utf8FromWide(BoxText(box));
        // At once on the error stream too: should the test hang on regardless, the log names the box.
        std::fprintf(stderr, "A box that no test expected is open: %s\n", text.c_str());
        std::fflush(stderr);
        ADD_FAILURE() << "A box that no test expected stayed open " << grace_ << " ms: " << text;
      }
      PostMessageW(box, WM_COMMAND, kCloseAnswers[seen.Closes % std::size(kCloseAnswers)], 0);
      ++seen.Closes;
    }
    open[box] = seen;
  }
  seen_ = std::move(open);
}

}  // namespace testing_support
