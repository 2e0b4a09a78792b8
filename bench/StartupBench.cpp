// Start-up: from CreateProcess until the program's main window is visible and answers a message,
// for the program and for a bare window program with one list view, in alternating rounds. Each
// started program is closed (WM_CLOSE) and waited for before the next start.
//
// startup_bench [rounds] [program] [baseline]; the programs default to Sandrivo.exe beside the
// build folder and bare_listview.exe beside this benchmark.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/Rounds.h"

namespace {

std::string Beside(const char* name, int levelsUp) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  for (int i = 0; i <= levelsUp; ++i) folder.erase(folder.find_last_of("\\/"));
  return folder + "\\" + name;
}

struct TSearch {
  DWORD ProcessId;
  HWND Window;
};

BOOL CALLBACK FindShownWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<TSearch*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->ProcessId || !IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
  search->Window = window;
  return FALSE;
}

// Starts the program, waits until its window is shown and answering, closes it again; returns the
// seconds from the start until the answer.
double StartAndClose(const std::string& program) {
  const double start = Seconds();
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  std::string commandLine = "\"" + program + "\"";
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    std::fprintf(stderr, "cannot start %s\n", program.c_str());
    std::exit(1);
  }
  TSearch search{process.dwProcessId, nullptr};
  DWORD_PTR answer = 0;
  for (;;) {
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
      std::fprintf(stderr, "%s ended before showing a window\n", program.c_str());
      std::exit(1);
    }
    search.Window = nullptr;
    EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
    if (search.Window && SendMessageTimeoutA(search.Window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer)) break;
    Sleep(1);
  }
  const double elapsed = Seconds() - start;
  PostMessageA(search.Window, WM_CLOSE, 0, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  // The system finishes with the ended process before the next start.
  Sleep(300);
  return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 9;
  const std::string program = argc > 2 ? argv[2] : Beside("Sandrivo.exe", 1);
  const std::string baseline = argc > 3 ? argv[3] : Beside("bare_listview.exe", 0);
  for (int i = 0; i < 2; ++i) StartAndClose(baseline), StartAndClose(program);  // warm up
  TRatios ratios;
  for (int round = 0; round < rounds; ++round) {
    // Alternating which starts first, so that neither always follows the other's exit.
    double base = 0, work = 0;
    if (round % 2 == 0) {
      base = StartAndClose(baseline);
      work = StartAndClose(program);
    } else {
      work = StartAndClose(program);
      base = StartAndClose(baseline);
    }
    ratios.Ratios.push_back(work / base);
    ratios.BaselineSeconds += base;
    ratios.SubjectSeconds += work;
  }
  std::sort(ratios.Ratios.begin(), ratios.Ratios.end());
  std::printf("bare list-view program: %.1f ms, Sandrivo: %.1f ms\n", ratios.BaselineSeconds / rounds * 1e3,
              ratios.SubjectSeconds / rounds * 1e3);
  PrintResult("start until the main window answers", "bare window program with one list view", ratios, 1.25);
  return 0;
}
