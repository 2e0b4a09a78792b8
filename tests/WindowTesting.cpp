#include "tests/WindowTesting.h"

#include <commctrl.h>

#include "toolkit/Application.h"
#include "toolkit/Cursor.h"

namespace testing_support {

void Pump() {
  for (int round = 0; round < 5; ++round) tk::Application().ProcessMessages();
}

bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (!done() && GetTickCount() - start < milliseconds) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    Pump();
  }
  return done();
}

bool WaitForAnswers() {
  return PumpUntil([] { return tk::ScreenCursor() == tk::TCursor::Default; });
}

void PostMouse(HWND window, UINT message, int x, int y, WPARAM keys) {
  PostMessageA(window, message, keys, MAKELPARAM(x, y));
}

void Click(HWND window, int x, int y) {
  PostMouse(window, WM_LBUTTONDOWN, x, y, MK_LBUTTON);
  PostMouse(window, WM_LBUTTONUP, x, y);
  Pump();
}

void PostKey(HWND window, WORD key) {
  PostMessageA(window, WM_KEYDOWN, key, 1);
  PostMessageA(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
  Pump();
}

namespace {
BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  EnumChildWindows(window, CountWindow, count);
  return TRUE;
}
}  // namespace

int ThreadWindowCount() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

RECT BoundsInParent(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

POINT ListItemCenter(HWND listView, int index) {
  RECT r{};
  r.left = LVIR_ICON;
  SendMessageA(listView, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TApplicationRecorder::TApplicationRecorder() {
  tk::Application().OnHelp = [this](UINT command, ULONG_PTR data) {
    HelpRequests.push_back({command, data, tk::Application().HelpFile});
    return true;
  };
  tk::Application().OnException = [this](const std::string& message) { Errors.push_back(message); };
}

TApplicationRecorder::~TApplicationRecorder() {
  tk::Application().OnHelp = nullptr;
  tk::Application().OnException = nullptr;
}

}  // namespace testing_support
