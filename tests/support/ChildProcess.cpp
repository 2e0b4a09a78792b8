#include "tests/support/ChildProcess.h"

#include <gtest/gtest.h>

#include <thread>

#include "runtime/Handles.h"
#include "runtime/Text.h"

namespace testing_support {

namespace {

using runtime::TKernelHandle;

std::string ReadAll(HANDLE pipe) {
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(pipe, buffer, sizeof(buffer), &read, nullptr) && read > 0) text.append(buffer, read);
  return text;
}

// A pipe whose writing end the child inherits.
struct TPipe {
  TKernelHandle Read, Write;
  TPipe() {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    CreatePipe(&read, &write, &inherit, 0);
    Read.Reset(read);
    Write.Reset(write);
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  }
};

}  // namespace

TProgramResult RunProgram(const std::wstring& path, const std::wstring& arguments,
                          const TProgramOptions& options) {
  TPipe out, err;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = options.Output ? options.Output : out.Write.Get();
  startup.hStdError = options.ErrorsIntoOut ? out.Write.Get() : err.Write.Get();
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + path + L"\" " + arguments;
  TProgramResult result;
  if (!StartProcess(CreateProcessW, path.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                    options.CreationFlags, nullptr, nullptr, &startup, &process)) {
    result.StartError = GetLastError();
    return result;
  }
  result.Started = true;
  const TKernelHandle processHandle(process.hProcess), thread(process.hThread);
  out.Write.Reset();
  err.Write.Reset();
  // Both streams are read while the program runs, so that a full pipe cannot stop it; a program
  // that does not end in time is ended, which closes its ends of the pipes.
  std::thread errReader([&] { result.Err = ReadAll(err.Read.Get()); });
  std::thread outReader([&] { result.Out = ReadAll(out.Read.Get()); });
  result.Ended = WaitForSingleObject(process.hProcess, options.TimeoutMs) == WAIT_OBJECT_0;
  if (!result.Ended) {
    TerminateProcess(process.hProcess, 99);
    WaitForSingleObject(process.hProcess, 10000);
  }
  outReader.join();
  errReader.join();
  GetExitCodeProcess(process.hProcess, &result.ExitCode);
  return result;
}

TProgramResult RunProgram(const std::string& path, const std::string& arguments,
                          const TProgramOptions& options) {
  return RunProgram(runtime::WideFromCp1252(path), runtime::WideFromCp1252(arguments), options);
}

std::wstring OwnPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

TProgramResult RunReportProgram(const std::wstring& arguments, HANDLE output) {
  std::wstring path = OwnPath();
  path = path.substr(0, path.find_last_of(L'\\'));
  path = path.substr(0, path.find_last_of(L'\\')) + L"\\sandrivo-report.exe";
  TProgramResult result = RunProgram(path, arguments, {.Output = output});
  if (!result.Started)
    ADD_FAILURE() << "cannot start " << runtime::Cp1252FromWide(path) << ": error " << result.StartError;
  EXPECT_TRUE(result.Ended) << runtime::Cp1252FromWide(arguments);
  return result;
}

TProgramResult RunReportProgram(const std::string& arguments, HANDLE output) {
  return RunReportProgram(runtime::WideFromCp1252(arguments), output);
}

}  // namespace testing_support
