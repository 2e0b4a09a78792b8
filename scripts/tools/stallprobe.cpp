// The Windows side of scripts/stall-check.sh, run under Wine. One program, several roles:
//   stallprobe hold <path>                 opens the path (a file or a folder) and keeps it open
//   stallprobe bare <title>                shows a bare window and answers its messages
//   stallprobe ping <class> <title> <ms>   sends the window WM_NULL every <ms> milliseconds, for as
//                                          long as it lives, and waits for the next one of that
//                                          class and title; prints each answer's latency
//   stallprobe agent <class> <title>       answers commands on standard input about the window:
//                                          the drive list's items, the information table's rows as
//                                          a screen reader reads them, the focus, close
// Times are milliseconds since 1970 (UTC), the clock the shell's `date +%s%3N` reads, so that the
// script can put its own events beside the probe's.
#include <windows.h>

#include <commctrl.h>
#include <dbt.h>
#include <fcntl.h>
#include <io.h>
#include <oleacc.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

// The clock of the shell script.
long long UnixMs() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return static_cast<long long>((ticks - 116444736000000000ULL) / 10000);
}

std::string Utf8(const wchar_t* text, int length = -1) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, result.data(), size, nullptr, nullptr);
  if (length < 0 && !result.empty()) result.pop_back();  // the terminating zero
  return result;
}

struct TFind {
  const wchar_t* ClassName;
  HWND Found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM data) {
  auto* find = reinterpret_cast<TFind*>(data);
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  if (std::wcscmp(name, find->ClassName) != 0) return TRUE;
  find->Found = window;
  return FALSE;
}

// The first descendant of the window of this class.
HWND FindChild(HWND parent, const wchar_t* className) {
  TFind find{className, nullptr};
  EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&find));
  return find.Found;
}

HWND FindTopLevel(const wchar_t* className, const wchar_t* title) {
  return FindWindowW(className, title);
}

int Hold(const wchar_t* path) {
  // A folder opens only with backup semantics.
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::printf("error %lu\n", GetLastError());
    return 1;
  }
  std::printf("held\n");
  std::fflush(stdout);
  // The handle stays open until the script ends the process.
  for (;;) Sleep(INFINITE);
}

LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

int Bare(const wchar_t* title) {
  WNDCLASSW cls{};
  cls.lpfnWndProc = BareProc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  cls.lpszClassName = L"StallProbeBare";
  if (!RegisterClassW(&cls)) return 1;
  HWND window = CreateWindowExW(0, cls.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 40, 200,
                                120, nullptr, nullptr, cls.hInstance, nullptr);
  if (!window) return 1;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

// Lines: "window <time> <visible 0|1>" when a window is found, "visible <time>" when it shows,
// "ping <time> <latency ms> <1 answered|0 timed out>" per message, "gone <time>" when it is gone.
int Ping(const wchar_t* className, const wchar_t* title, DWORD interval) {
  // A window that has not answered for this long is counted as timed out and asked again.
  const UINT timeout = 5000;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  for (;;) {
    HWND window = FindTopLevel(className, title);
    if (!window) {
      Sleep(10);
      continue;
    }
    bool visible = IsWindowVisible(window);
    std::printf("window %lld %d\n", UnixMs(), visible ? 1 : 0);
    std::fflush(stdout);
    while (IsWindow(window)) {
      const long long sent = UnixMs();
      LARGE_INTEGER start, end;
      QueryPerformanceCounter(&start);
      DWORD_PTR result = 0;
      const LRESULT answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeout, &result);
      QueryPerformanceCounter(&end);
      if (!answered && !IsWindow(window)) break;
      const double latency = static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 /
                             static_cast<double>(frequency.QuadPart);
      std::printf("ping %lld %.1f %d\n", sent, latency, answered ? 1 : 0);
      if (!visible && IsWindowVisible(window)) {
        visible = true;
        std::printf("visible %lld\n", UnixMs());
      }
      std::fflush(stdout);
      Sleep(interval);
    }
    std::printf("gone %lld\n", UnixMs());
    std::fflush(stdout);
  }
}

// Memory in the window's process, for messages whose answer a control writes through a pointer.
class TRemoteBuffer {
 public:
  TRemoteBuffer(HWND window, SIZE_T size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_)
      address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~TRemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  TRemoteBuffer(const TRemoteBuffer&) = delete;
  TRemoteBuffer& operator=(const TRemoteBuffer&) = delete;

  explicit operator bool() const { return address_ != nullptr; }
  char* At(SIZE_T offset) const { return static_cast<char*>(address_) + offset; }
  bool Write(SIZE_T offset, const void* data, SIZE_T size) const {
    return WriteProcessMemory(process_, At(offset), data, size, nullptr);
  }
  bool Read(SIZE_T offset, void* data, SIZE_T size) const {
    return ReadProcessMemory(process_, At(offset), data, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

// A message to a window of another process that may hang: nothing after two seconds is a failure.
bool Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result = nullptr) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 2000, result ? result : &ignored);
}

// Lines: "item <index>\t<text>\t<x>\t<y>", the centre of the item's icon on the screen.
bool Items(HWND form, std::string& out) {
  HWND list = FindChild(form, WC_LISTVIEWW);
  if (!list) return false;
  DWORD_PTR count = 0;
  if (!Ask(list, LVM_GETITEMCOUNT, 0, 0, &count)) return false;
  // The item structure, then its text.
  const SIZE_T textOffset = 256, textLength = 128;
  TRemoteBuffer remote(list, textOffset + textLength * sizeof(wchar_t));
  if (!remote) return false;
  for (int i = 0; i < static_cast<int>(count); ++i) {
    LVITEMW item{};
    item.pszText = reinterpret_cast<wchar_t*>(remote.At(textOffset));
    item.cchTextMax = static_cast<int>(textLength);
    wchar_t text[128] = L"";
    RECT rect{LVIR_ICON, 0, 0, 0};
    if (!remote.Write(0, &item, sizeof(item)) ||
        !Ask(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote.At(0))) ||
        !remote.Read(textOffset, text, sizeof(text) - sizeof(wchar_t)) ||
        !remote.Write(0, &rect, sizeof(rect)) ||
        !Ask(list, LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote.At(0))) ||
        !remote.Read(0, &rect, sizeof(rect)))
      return false;
    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    MapWindowPoints(list, HWND_DESKTOP, &centre, 1);
    char line[512];
    std::snprintf(line, sizeof(line), "item %d\t%s\t%ld\t%ld\n", i, Utf8(text).c_str(), centre.x, centre.y);
    out += line;
  }
  return true;
}

// Lines: "row <name>", each row of the information table as a screen reader names it
// ("Laufwerksbuchstabe: C").
bool Table(HWND form, std::string& out) {
  HWND grid = FindChild(form, L"TkStringGrid");
  if (!grid) return false;
  // What AccessibleObjectFromWindow does, with a deadline on the window's answer.
  DWORD_PTR answer = 0;
  if (!Ask(grid, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT), &answer) || !answer) return false;
  IAccessible* table = nullptr;
  if (FAILED(ObjectFromLresult(static_cast<LRESULT>(answer), IID_IAccessible, 0,
                               reinterpret_cast<void**>(&table))))
    return false;
  long rows = 0;
  table->get_accChildCount(&rows);
  for (long i = 1; i <= rows; ++i) {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = i;
    BSTR name = nullptr;
    IDispatch* dispatch = nullptr;
    IAccessible* row = nullptr;
    if (table->get_accChild(child, &dispatch) == S_OK && dispatch &&
        SUCCEEDED(dispatch->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&row)))) {
      VARIANT self;
      VariantInit(&self);
      self.vt = VT_I4;
      self.lVal = CHILDID_SELF;
      row->get_accName(self, &name);
      row->Release();
    } else {
      table->get_accName(child, &name);
    }
    if (dispatch) dispatch->Release();
    out += "row " + (name ? Utf8(name, static_cast<int>(SysStringLen(name))) : std::string()) + "\n";
    SysFreeString(name);
  }
  table->Release();
  return true;
}

// Line: "focus <class>", the class of the window that has the keyboard focus in the form's thread.
bool Focus(HWND form, std::string& out) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info)) return false;
  wchar_t name[64] = L"";
  if (info.hwndFocus) GetClassNameW(info.hwndFocus, name, 64);
  out += "focus " + Utf8(name) + "\n";
  return true;
}

// Tells the form that a volume came or went, as Windows does: WM_DEVICECHANGE with a volume's header
// ("device arrive K" or "device remove K").
bool Device(HWND form, const std::string& arguments) {
  const bool arrive = arguments.rfind("arrive ", 0) == 0;
  const char letter = arguments.empty() ? 0 : arguments.back();
  if ((!arrive && arguments.rfind("remove ", 0) != 0) || letter < 'A' || letter > 'Z') return false;
  DEV_BROADCAST_VOLUME volume{};
  volume.dbcv_size = sizeof(volume);
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume.dbcv_unitmask = 1u << (letter - 'A');
  return Ask(form, WM_DEVICECHANGE, arrive ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE,
             reinterpret_cast<LPARAM>(&volume));
}

// One command of the agent, on a thread of its own so that a window that does not answer cannot
// hold up the next command.
struct TCommand {
  std::string Name;
  std::wstring ClassName, Title;
  std::string Out;
  bool Ok = false;
};

DWORD WINAPI RunCommand(void* data) {
  auto* command = static_cast<TCommand*>(data);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (HWND form = FindTopLevel(command->ClassName.c_str(), command->Title.c_str())) {
    if (command->Name == "items") command->Ok = Items(form, command->Out);
    if (command->Name == "table") command->Ok = Table(form, command->Out);
    if (command->Name == "focus") command->Ok = Focus(form, command->Out);
    if (command->Name == "close") command->Ok = PostMessageW(form, WM_CLOSE, 0, 0);
    if (command->Name.rfind("device ", 0) == 0) command->Ok = Device(form, command->Name.substr(7));
  } else {
    command->Out = "no window\n";
  }
  CoUninitialize();
  return 0;
}

// Reads commands (items, table, focus, device arrive|remove <letter>, close) from standard input, one a line, and answers each
// with its lines and "end ok <ms>", "end failed <ms>" or "end timeout" (no answer within three
// seconds). Started before a stall: a Wine process that starts during one may wait for the stalled
// drive in Wine's own start-up.
int Agent(const wchar_t* className, const wchar_t* title) {
  char line[64];
  while (std::fgets(line, sizeof(line), stdin)) {
    auto* command = new TCommand{std::string(line, std::strcspn(line, "\r\n")), className, title, {}, false};
    const ULONGLONG start = GetTickCount64();
    HANDLE thread = CreateThread(nullptr, 0, RunCommand, command, 0, nullptr);
    if (!thread) {
      std::printf("end failed 0\n");
    } else if (WaitForSingleObject(thread, 3000) != WAIT_OBJECT_0) {
      // The command's thread may still return and write to it: it is left to the process's end.
      std::printf("end timeout\n");
    } else {
      std::printf("%send %s %llu\n", command->Out.c_str(), command->Ok ? "ok" : "failed",
                  GetTickCount64() - start);
      delete command;
    }
    if (thread) CloseHandle(thread);
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Lines end in "\n" alone, as the script reads them.
  _setmode(_fileno(stdout), _O_BINARY);
  // Screen coordinates in pixels, as xdotool takes them.
  SetProcessDPIAware();
  const std::wstring role = argc > 1 ? argv[1] : L"";
  if (role == L"hold" && argc == 3) return Hold(argv[2]);
  if (role == L"bare" && argc == 3) return Bare(argv[2]);
  if (role == L"ping" && argc == 5) return Ping(argv[2], argv[3], static_cast<DWORD>(_wtoi(argv[4])));
  if (role == L"agent" && argc == 4) return Agent(argv[2], argv[3]);
  std::fputs(
      "usage: stallprobe hold <path> | bare <title> | ping <class> <title> <ms> | agent <class> <title>\n",
      stderr);
  return 2;
}
