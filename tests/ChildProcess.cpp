#include "tests/ChildProcess.h"

#include "toolkit/Handles.h"

namespace testing_support {

namespace {

using TFile = tk::TUniqueHandle<HANDLE, CloseHandle>;

std::string ReadAll(HANDLE pipe) {
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(pipe, buffer, sizeof(buffer), &read, nullptr) && read > 0) text.append(buffer, read);
  return text;
}

}  // namespace

TProgramResult RunProgram(const std::string& path, const std::string& arguments, HANDLE output) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE outRead, outWrite, errRead, errWrite;
  CreatePipe(&outRead, &outWrite, &inherit, 0);
  CreatePipe(&errRead, &errWrite, &inherit, 0);
  TFile outReader(outRead), outWriter(outWrite), errReader(errRead), errWriter(errWrite);
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output ? output : outWrite;
  startup.hStdError = errWrite;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::string commandLine = "\"" + path + "\" " + arguments;
  TProgramResult result;
  if (!testing_support::StartProcess(CreateProcessA, path.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                     CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process))
    return result;
  result.Started = true;
  TFile processHandle(process.hProcess), thread(process.hThread);
  outWriter.Reset();
  errWriter.Reset();
  result.Out = ReadAll(outRead);
  result.Err = ReadAll(errRead);
  WaitForSingleObject(process.hProcess, 30000);
  GetExitCodeProcess(process.hProcess, &result.ExitCode);
  return result;
}

}  // namespace testing_support
