// Runs a program as a child process with its standard output and error read back.
#pragma once

#include <windows.h>

#include <string>

namespace testing_support {

struct TProgramResult {
  bool Started = false;
  std::string Out, Err;
  DWORD ExitCode = 0;
};

// Runs path with the arguments (one command-line text) and waits up to 30 s for its end; standard
// output goes to output when one is given (an inheritable handle), to a pipe read into Out otherwise.
TProgramResult RunProgram(const std::string& path, const std::string& arguments, HANDLE output = nullptr);

}  // namespace testing_support
