// Helpers for tests that drive real windows: posted mouse and key messages, handled by the
// application's own message processing.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

// Handles every waiting message, as the message loop would, a few rounds so that messages
// posted by handlers are handled too.
void Pump();
// Handles messages as they come until done() holds or the milliseconds have passed; returns
// done().
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = 10000);
// Handles messages until no request of the program waits for a drive any more (its hour-glass is
// gone): a real drive may answer a click later than at once.
bool WaitForAnswers();
void PostMouse(HWND window, UINT message, int x, int y, WPARAM keys = 0);
// A completed left click at a client point: button down, then up.
void Click(HWND window, int x, int y);
void PostKey(HWND window, WORD key);
// Every window of the calling thread, top-level windows and all their descendants: the real
// count of USER windows, apart from any bookkeeping of ours.
int ThreadWindowCount();
// A window's bounds in its parent's client coordinates.
RECT BoundsInParent(HWND window);
POINT ListItemCenter(HWND listView, int index);

// Records help requests and errors instead of showing the help viewer or a message box.
class TApplicationRecorder {
 public:
  TApplicationRecorder();
  ~TApplicationRecorder();
  TApplicationRecorder(const TApplicationRecorder&) = delete;
  TApplicationRecorder& operator=(const TApplicationRecorder&) = delete;

  struct THelpRequest {
    UINT Command;
    ULONG_PTR Data;
    std::string HelpFile;  // the application's help file when the request came
  };
  std::vector<THelpRequest> HelpRequests;
  std::vector<std::string> Errors;
};

}  // namespace testing_support
