// Helpers for tests that drive real windows: posted mouse and key messages, handled by the
// application's own message processing.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/CustomControl.h"

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
// The same with modifier keys (VK_CONTROL, VK_SHIFT, VK_MENU) held in the thread's key state
// meanwhile; with VK_MENU the key comes as a system key, as Alt makes it.
void PostKeyWith(HWND window, WORD key, std::initializer_list<BYTE> held);
void PostChar(HWND window, char c);
// Every window of the calling thread, top-level windows and all their descendants: the real
// count of USER windows, apart from any bookkeeping of ours.
int ThreadWindowCount();
// The process's GDI objects of every kind (DCs, brushes, bitmaps, fonts...), read from the system's
// shared handle table: the real count, wrapped or not, since GetGuiResources is a stub in Wine.
int ProcessGdiObjects();
// A window's bounds in its parent's client coordinates.
RECT BoundsInParent(HWND window);
POINT ListItemCenter(HWND listView, int index);
// The control as it draws on white, pixel by pixel, in the top-left width x height.
std::vector<COLORREF> Picture(const toolkit::TCustomControl& control, int width, int height);

// Windows 10's thicker frames for as long as the object lives: a 22-pixel caption and a 5-pixel
// sizing border (Wine honours both; it has no padded border), the system's own restored after.
class TThickFrames {
 public:
  TThickFrames();
  ~TThickFrames();
  TThickFrames(const TThickFrames&) = delete;
  TThickFrames& operator=(const TThickFrames&) = delete;

 private:
  NONCLIENTMETRICSA old_{};
};

// The LogPixels value of the prefix, set for as long as the object lives.
class TSystemDpi {
 public:
  explicit TSystemDpi(DWORD dpi) {
    RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                    &key_, nullptr);
    DWORD size = sizeof(old_);
    hadValue_ = RegQueryValueExA(key_, "LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old_),
                                 &size) == ERROR_SUCCESS;
    RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
  }
  ~TSystemDpi() {
    if (hadValue_)
      RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_), sizeof(old_));
    else
      RegDeleteValueA(key_, "LogPixels");
    RegCloseKey(key_);
  }
  TSystemDpi(const TSystemDpi&) = delete;
  TSystemDpi& operator=(const TSystemDpi&) = delete;

 private:
  HKEY key_ = nullptr;
  DWORD old_ = 0;
  bool hadValue_ = false;
};

// Runs the test cases of this test program that the gtest filter names (disabled ones too) in a new
// process at the given system DPI, and returns what they printed.
std::string RunAtSystemDpi(DWORD dpi, const std::string& filter);

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
    std::wstring HelpFile;  // the application's help file when the request came
  };
  std::vector<THelpRequest> HelpRequests;
  std::vector<std::wstring> Errors;
  // The icon of each error's box (MB_ICONSTOP, MB_ICONINFORMATION).
  std::vector<UINT> Icons;
};

}  // namespace testing_support
