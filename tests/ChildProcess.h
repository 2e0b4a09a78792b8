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

struct TProgramResult {
  bool Started = false;
  std::string Out, Err;
  DWORD ExitCode = 0;
};

// Runs path with the arguments (one command-line text) and waits up to 30 s for its end; standard
// output goes to output when one is given (an inheritable handle), to a pipe read into Out otherwise.
TProgramResult RunProgram(const std::string& path, const std::string& arguments, HANDLE output = nullptr);

}  // namespace testing_support
