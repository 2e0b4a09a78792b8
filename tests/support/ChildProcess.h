// Runs a program as a child process with its standard output and error read back.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>

namespace testing_support {

// CreateProcessA or CreateProcessW, tried once more when Wine failed to start the program at all
// (error 1359, ERROR_INTERNAL_ERROR, before any code of the program ran); the test log and the
// test script's list of retried starts say so.
template <typename... Params>
BOOL StartProcess(BOOL(WINAPI* create)(Params...), std::type_identity_t<Params>... args) {
  if (create(args...)) return TRUE;
  if (GetLastError() != ERROR_INTERNAL_ERROR) return FALSE;
  const char note[] = "Wine did not start a child program (error 1359): starting it once more\n";
  std::fputs(note, stderr);
  if (const char* log = std::getenv("SANDRIVO_START_LOG")) {
    if (std::FILE* file = std::fopen(log, "a")) {
      std::fputs(note, file);
      std::fclose(file);
    }
  }
  return create(args...);
}

struct TProgramOptions {
  HANDLE Output = nullptr;     // an inheritable handle for standard output instead of Out
  bool ErrorsIntoOut = false;  // standard error read into Out as well, in the order written
  DWORD CreationFlags = CREATE_NO_WINDOW;
  DWORD TimeoutMs = 30000;  // then the program is ended, Ended stays false
};

struct TProgramResult {
  bool Started = false;
  DWORD StartError = 0;  // when not started
  bool Ended = false;    // within the time
  std::string Out, Err;
  DWORD ExitCode = 0;
};

// Runs path with the arguments (one command-line text), reading its standard output and error
// while it runs.
TProgramResult RunProgram(const std::wstring& path, const std::wstring& arguments,
                          const TProgramOptions& options = {});
// The same with path and arguments in code page 1252.
TProgramResult RunProgram(const std::string& path, const std::string& arguments,
                          const TProgramOptions& options = {});

// The running test program's own path.
std::wstring OwnPath();

// Runs the built console report, which lies beside the tests' folder; its standard output goes to
// output when one is given (an inheritable handle), to Out otherwise. A start that fails or a
// program that does not end in time fails the test.
TProgramResult RunReportProgram(const std::wstring& arguments, HANDLE output = nullptr);
TProgramResult RunReportProgram(const std::string& arguments, HANDLE output = nullptr);

}  // namespace testing_support
