#include "toolkit/Timer.h"

#include "runtime/Errors.h"

namespace toolkit {

namespace {
const wchar_t kTimerClass[] = L"TkTimer";
const UINT_PTR kTimerId = 1;
}  // namespace

TTimer::~TTimer() {
  if (Handle()) KillTimer(Handle(), kTimerId);
}

void TTimer::Create() {
  RegisterWindowClass(kTimerClass, nullptr, nullptr);
  CreateHandle(kTimerClass, L"", 0, 0, RECT{0, 0, 0, 0}, HWND_MESSAGE);
  if (!SetTimer(Handle(), kTimerId, interval_, nullptr)) runtime::ThrowLastError(L"Kein Zeitgeber frei");
}

LRESULT TTimer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kTimerId) {
    if (OnTimer) OnTimer();
    return 0;
  }
  return TWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace toolkit
