#include "tests/support/WindowTesting.h"

#include <commctrl.h>
#include <winternl.h>

#include <cstdint>

#include "runtime/Text.h"
#include "tests/support/ChildProcess.h"
#include "toolkit/Application.h"
#include "toolkit/Cursor.h"
#include "toolkit/Handles.h"

namespace testing_support {

namespace {

// An entry of the GDI handle table that the system maps into every process (the layout is the same
// for 32- and 64-bit processes); a free entry has type 0.
struct TGdiHandleEntry {
  uint64_t Object;
  uint16_t ProcessId;
  uint16_t Lock;
  uint16_t Unique;
  uint8_t Type;
  uint8_t Flags;
  uint64_t UserPointer;
};
static_assert(sizeof(TGdiHandleEntry) == 24);
const int kGdiHandleEntries = 0x10000;

const TGdiHandleEntry* GdiHandleTable() {
  // PEB::GdiSharedHandleTable, which the SDK's PEB declares only as reserved bytes.
  using TRtlGetCurrentPeb = PEB*(WINAPI*)();
  const auto currentPeb = reinterpret_cast<TRtlGetCurrentPeb>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetCurrentPeb")));
  if (!currentPeb) return nullptr;
  const auto* peb = reinterpret_cast<const BYTE*>(currentPeb());
  return *reinterpret_cast<const TGdiHandleEntry* const*>(peb + (sizeof(void*) == 4 ? 0x94 : 0xF8));
}

}  // namespace

int ProcessGdiObjects() {
  const TGdiHandleEntry* table = GdiHandleTable();
  if (!table) return -1;
  // The table's owner field is the system's own form of the process id: take it from an object
  // known to be ours.
  const toolkit::TBrush probe(CreateSolidBrush(0));
  const uint16_t owner = table[LOWORD(reinterpret_cast<UINT_PTR>(probe.Get()))].ProcessId;
  int count = 0;
  for (int i = 0; i < kGdiHandleEntries; ++i)
    if (table[i].Type != 0 && table[i].ProcessId == owner) ++count;
  return count - 1;
}

void Pump() {
  for (int round = 0; round < 5; ++round) toolkit::Application().ProcessMessages();
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
  return PumpUntil([] { return toolkit::ScreenCursor() == toolkit::TCursor::Default; });
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

void PostKeyWith(HWND window, WORD key, std::initializer_list<BYTE> held) {
  BYTE before[256], keys[256];
  GetKeyboardState(before);
  GetKeyboardState(keys);
  bool alt = false;
  for (BYTE modifier : held) {
    keys[modifier] = 0x80;
    alt = alt || modifier == VK_MENU;
  }
  SetKeyboardState(keys);
  const LPARAM altFlag = alt ? static_cast<LPARAM>(KF_ALTDOWN) << 16 : 0;
  PostMessageA(window, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1 | altFlag);
  PostMessageA(window, alt ? WM_SYSKEYUP : WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u) | altFlag);
  Pump();
  SetKeyboardState(before);
}

void PostChar(HWND window, char c) {
  PostMessageA(window, WM_CHAR, static_cast<unsigned char>(c), 1);
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

std::vector<COLORREF> Picture(const toolkit::TCustomControl& control, int width, int height) {
  HDC screen = GetDC(nullptr);
  toolkit::TMemoryDC dc(CreateCompatibleDC(screen));
  toolkit::TBitmap bitmap(CreateCompatibleBitmap(screen, width, height));
  ReleaseDC(nullptr, screen);
  toolkit::TSelectObject select(dc.Get(), bitmap.Get());
  const RECT all{0, 0, width, height};
  FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  control.PaintTo(dc.Get());
  std::vector<COLORREF> pixels;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(dc.Get(), x, y));
  return pixels;
}

TThickFrames::TThickFrames() {
  old_.cbSize = sizeof(old_);
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(old_), &old_, 0);
  NONCLIENTMETRICSA thick = old_;
  thick.iCaptionHeight = 22;
  thick.iBorderWidth = 5;
  thick.iPaddedBorderWidth = 4;
  SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof(thick), &thick, 0);
}

TThickFrames::~TThickFrames() {
  SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof(old_), &old_, 0);
}

std::string RunAtSystemDpi(DWORD dpi, const std::string& filter) {
  const TSystemDpi systemDpi(dpi);
  const TProgramResult run = RunProgram(OwnPath(),
                                        L"--gtest_also_run_disabled_tests --gtest_filter=" +
                                            runtime::WideFromCp1252(filter) + L" --gtest_brief=1",
                                        {.ErrorsIntoOut = true, .CreationFlags = 0, .TimeoutMs = 60000});
  return run.Out;
}

TApplicationRecorder::TApplicationRecorder() {
  toolkit::Application().OnHelp = [this](UINT command, ULONG_PTR data) {
    HelpRequests.push_back({command, data, toolkit::Application().HelpFile});
    return true;
  };
  toolkit::Application().OnException = [this](const std::wstring& message, UINT icon) {
    Errors.push_back(message);
    Icons.push_back(icon);
  };
}

TApplicationRecorder::~TApplicationRecorder() {
  toolkit::Application().OnHelp = nullptr;
  toolkit::Application().OnException = nullptr;
}

}  // namespace testing_support
