// Start-up: from CreateProcess until the program's main window is visible and answers a message,
// for the program and for a bare window program with one list view, in alternating rounds. Each
// started program is closed (WM_CLOSE) and waited for before the next start. While a program
// starts the benchmark only waits (until the program first waits for input), so that it does not
// load the system it measures. Besides the ratio it prints what moves it: the processors it runs
// on, each program's median time in three phases (until its process has a first window, until the
// window shows, until it answers; from rounds of their own that look every millisecond), the load
// and the cost of one system round trip before and after, and what this prefix gives the program
// to do at its start (drive letters and the time their types take, font families).
//
// startup_bench [rounds] [program] [baseline]; the programs default to Sandrivo.exe beside the
// build folder and bare_listview.exe beside this benchmark.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/Rounds.h"
#include "runtime/Handles.h"

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

BOOL CALLBACK FindAnyWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<TSearch*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->ProcessId) return TRUE;
  search->Window = window;
  return FALSE;
}

// Seconds from the start until the process had a window, until its main window showed, until it
// answered; one list of each per program.
struct TPhases {
  std::vector<double> Window, Shown, Answered;
  void Print(const char* name) {
    auto median = [](std::vector<double> v) {
      std::sort(v.begin(), v.end());
      return v.empty() ? 0.0 : v[v.size() / 2] * 1e3;
    };
    std::printf("%-24s first window %6.1f ms, shown %6.1f ms, answering %6.1f ms (medians)\n", name,
                median(Window), median(Shown), median(Answered));
  }
};

// The first line of the Linux load average where Wine shows the host's files, or "".
std::string HostLoad() {
  char text[128] = "";
  const runtime::TKernelHandle file(runtime::NullIfInvalid(
      CreateFileW(L"Z:\\proc\\loadavg", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)));
  if (!file) return "";
  DWORD read = 0;
  ReadFile(file.Get(), text, sizeof(text) - 1, &read, nullptr);
  std::string load(text, read);
  return load.substr(0, load.find('\n'));
}

// The processors this process may run on; the programs it starts inherit them, and under Wine so
// does the server when scripts/bench.sh starts it the same way.
int ProcessorsInUse() {
  DWORD_PTR process = 0, system = 0;
  GetProcessAffinityMask(GetCurrentProcess(), &process, &system);
  int count = 0;
  for (; process; process &= process - 1) ++count;
  return count;
}

int CALLBACK CountFamily(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return 1;
}

// What the program's start depends on in this prefix and on this machine.
void PrintFacts(const char* when) {
  SYSTEM_INFO system{};
  GetSystemInfo(&system);
  // A wait that does not wait: a kernel call on Windows, a round trip through the server under Wine;
  // a start makes some hundred system calls, and where these cost more the program's start, with
  // its dozen windows, grows more than the bare one's.
  std::vector<double> trips;
  HANDLE self = GetCurrentProcess();
  for (int i = 0; i < 1000; ++i) {
    const double start = Seconds();
    WaitForSingleObject(self, 0);
    trips.push_back(Seconds() - start);
  }
  std::sort(trips.begin(), trips.end());
  std::printf("%s: %d of %lu processors, load average %s, one system round trip %.1f us (median)\n", when,
              ProcessorsInUse(), system.dwNumberOfProcessors, HostLoad().c_str(),
              trips[trips.size() / 2] * 1e6);
  if (std::string(when) != "before") return;
  // What the drive list costs: one type query per letter the system has (as the program asks), and
  // what asking all 26 would cost, which a busy machine makes expensive.
  double start = Seconds();
  const DWORD present = GetLogicalDrives();
  std::string letters;
  for (int i = 0; i < 26; ++i) {
    const char root[] = {static_cast<char>('A' + i), ':', '\\', '\0'};
    if (present & (1u << i) && GetDriveTypeA(root) > DRIVE_NO_ROOT_DIR) letters += root[0];
  }
  const double asked = Seconds() - start;
  start = Seconds();
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const char root[] = {letter, ':', '\\', '\0'};
    GetDriveTypeA(root);
  }
  const double allLetters = Seconds() - start;
  HDC screen = GetDC(nullptr);
  LOGFONTA all{};
  all.lfCharSet = DEFAULT_CHARSET;
  int families = 0;
  EnumFontFamiliesExA(screen, &all, CountFamily, reinterpret_cast<LPARAM>(&families), 0);
  ReleaseDC(nullptr, screen);
  std::printf("drives %s: their types in %.1f ms (all 26 letters' in %.1f ms), %d font families\n",
              letters.c_str(), asked * 1e3, allLetters * 1e3, families);
}

// How a start is watched. Quiet: the benchmark waits until the program first waits for input, then
// finds its shown window and asks it once; nothing else runs meanwhile. Polled: it also looks for
// the program's windows every millisecond, to time the phases, and those looks go through the
// same system server as every window the program makes.
enum class TWatch { Quiet, Polled };

// Starts the program, waits until its window is shown and answering, closes it again; returns the
// seconds from the start until the answer.
double StartAndClose(const std::string& program, TWatch watch, TPhases& phases) {
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
  const runtime::TKernelHandle processHandle(process.hProcess), thread(process.hThread);
  if (watch == TWatch::Quiet) WaitForInputIdle(process.hProcess, 10000);
  TSearch search{process.dwProcessId, nullptr};
  DWORD_PTR answer = 0;
  double window = 0, shown = 0;
  for (;;) {
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
      std::fprintf(stderr, "%s ended before showing a window\n", program.c_str());
      std::exit(1);
    }
    search.Window = nullptr;
    if (!window && watch == TWatch::Polled) {
      EnumWindows(FindAnyWindow, reinterpret_cast<LPARAM>(&search));
      if (search.Window) window = Seconds() - start;
      search.Window = nullptr;
    }
    EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
    if (search.Window && !shown) shown = Seconds() - start;
    if (search.Window && SendMessageTimeoutA(search.Window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer)) break;
    Sleep(1);
  }
  const double elapsed = Seconds() - start;
  if (watch == TWatch::Polled) {
    phases.Window.push_back(window ? window : shown);
    phases.Shown.push_back(shown);
    phases.Answered.push_back(elapsed);
  }
  PostMessageA(search.Window, WM_CLOSE, 0, 0);
  WaitForSingleObject(process.hProcess, 10000);
  // The system finishes with the ended process before the next start.
  Sleep(300);
  return elapsed;
}

// Alternating rounds of both programs, watched as given.
TRatios MeasureStarts(int rounds, const std::string& program, const std::string& baseline, TWatch watch,
                      TPhases& programPhases, TPhases& basePhases) {
  TRatios ratios;
  for (int round = 0; round < rounds; ++round) {
    // Alternating which starts first, so that neither always follows the other's exit.
    double base = 0, work = 0;
    if (round % 2 == 0) {
      base = StartAndClose(baseline, watch, basePhases);
      work = StartAndClose(program, watch, programPhases);
    } else {
      work = StartAndClose(program, watch, programPhases);
      base = StartAndClose(baseline, watch, basePhases);
    }
    ratios.Ratios.push_back(work / base);
    ratios.BaselineSeconds += base;
    ratios.SubjectSeconds += work;
  }
  std::sort(ratios.Ratios.begin(), ratios.Ratios.end());
  return ratios;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 9;
  const std::string program = argc > 2 ? argv[2] : Beside("Sandrivo.exe", 1);
  const std::string baseline = argc > 3 ? argv[3] : Beside("bare_listview.exe", 0);
  PrintFacts("before");
  TPhases warmUp, basePhases, programPhases;
  for (int i = 0; i < 2; ++i)
    StartAndClose(baseline, TWatch::Quiet, warmUp), StartAndClose(program, TWatch::Quiet, warmUp);
  const TRatios ratios = MeasureStarts(rounds, program, baseline, TWatch::Quiet, programPhases, basePhases);
  std::printf("bare list-view program: %.1f ms, Sandrivo: %.1f ms (means)\n",
              ratios.BaselineSeconds / rounds * 1e3, ratios.SubjectSeconds / rounds * 1e3);
  // The phases, from rounds of their own: looking for windows every millisecond slows the program
  // that makes more windows.
  const int polledRounds = std::max(3, rounds / 3);
  const TRatios polled =
      MeasureStarts(polledRounds, program, baseline, TWatch::Polled, programPhases, basePhases);
  std::printf(
      "watched every millisecond (%d rounds): ratio %.2f (%.2f-%.2f), bare %.1f ms, Sandrivo %.1f ms\n",
      polledRounds, polled.Median(), polled.Ratios.front(), polled.Ratios.back(),
      polled.BaselineSeconds / polledRounds * 1e3, polled.SubjectSeconds / polledRounds * 1e3);
  basePhases.Print("bare list-view program:");
  programPhases.Print("Sandrivo:");
  PrintFacts("after");
  // The goal holds for the start on one processor. Spread over several, every system call of the
  // emulator may wake the server on another processor, a cost of the host (tens of microseconds
  // in some virtual machines, where runs fall into a slow mode for whole starts) that a program
  // with a dozen windows pays a dozen times: printed as a fact, without a goal.
  if (ProcessorsInUse() == 1)
    PrintResult("start until the main window answers", "bare window program with one list view", ratios,
                1.25);
  else
    PrintResult("the same start, on any processor", "the same bare program", ratios, 0);
  return 0;
}
