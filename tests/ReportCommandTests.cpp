// The console report: its arguments in-process, and the real program against the clipboard text.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/DriveExport.h"
#include "app/DriveList.h"
#include "app/MainForm.h"
#include "app/ReportCommand.h"
#include "tests/FakeDriveQueries.h"
#include "tests/WindowTesting.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Handles.h"

using app::RunReportCommand;
using testing_support::FixedDrive;
using testing_support::TFakeDriveQueries;

namespace {

TFakeDriveQueries TwoDrives() {
  TFakeDriveQueries fake;
  fake.Drives['C'] = FixedDrive(4096000, 1024000);
  fake.Drives['D'] = FixedDrive(8192000, 2048000);
  fake.Drives['D'].Type = DRIVE_CDROM;
  fake.Drives['E'] = FixedDrive(4096, 0);
  fake.Drives['E'].Type = DRIVE_UNKNOWN;  // not listed
  return fake;
}

struct TProcessResult {
  std::string Out, Err;
  DWORD ExitCode = 0;
};

using TFile = tk::TUniqueHandle<HANDLE, CloseHandle>;

std::string ReadAll(HANDLE pipe) {
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(pipe, buffer, sizeof(buffer), &read, nullptr) && read > 0) text.append(buffer, read);
  return text;
}

// Runs the built console program, which lies beside the tests' folder.
TProcessResult RunReportProgram(const std::string& arguments) {
  std::string path(MAX_PATH, '\0');
  path.resize(GetModuleFileNameA(nullptr, path.data(), MAX_PATH));
  path = path.substr(0, path.find_last_of('\\'));
  path = path.substr(0, path.find_last_of('\\')) + "\\sandrivo-report.exe";

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
  startup.hStdOutput = outWrite;
  startup.hStdError = errWrite;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::string commandLine = "\"" + path + "\" " + arguments;
  TProcessResult result;
  if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &process)) {
    ADD_FAILURE() << "cannot start " << path << ": error " << GetLastError();
    return result;
  }
  TFile processHandle(process.hProcess), thread(process.hThread);
  outWriter.Reset();
  errWriter.Reset();
  result.Out = ReadAll(outRead);
  result.Err = ReadAll(errRead);
  WaitForSingleObject(process.hProcess, 30000);
  GetExitCodeProcess(process.hProcess, &result.ExitCode);
  return result;
}

}  // namespace

TEST(ReportCommand, WithoutArgumentPrintsTheTableOfListedDrives) {
  const TFakeDriveQueries fake = TwoDrives();
  const app::TCommandResult result = RunReportCommand({}, fake);
  EXPECT_EQ(result.ExitCode, 0);
  EXPECT_EQ(result.Err, "");
  EXPECT_EQ(result.Out, app::DrivesTableLines({'C', 'D'}, ';', fake).Text());
}

TEST(ReportCommand, DriveArgumentsInEveryForm) {
  const TFakeDriveQueries fake = TwoDrives();
  const std::string expected = app::DriveInfoLines('D', ';', fake).Text();
  for (const char* arg : {"D", "d", "D:", "d:\\"}) {
    const app::TCommandResult result = RunReportCommand({arg}, fake);
    EXPECT_EQ(result.ExitCode, 0) << arg;
    EXPECT_EQ(result.Out, expected) << arg;
    EXPECT_EQ(result.Err, "") << arg;
  }
}

TEST(ReportCommand, BadArgumentsGiveAMessageAndStatusTwo) {
  const TFakeDriveQueries fake = TwoDrives();
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"C", "D"}, "sandrivo-report: zu viele Argumente (höchstens ein Laufwerk)\r\n"},
      {{"CD"}, "sandrivo-report: \"CD\" ist kein Laufwerksbuchstabe\r\n"},
      {{"1"}, "sandrivo-report: \"1\" ist kein Laufwerksbuchstabe\r\n"},
      {{""}, "sandrivo-report: \"\" ist kein Laufwerksbuchstabe\r\n"},
      {{"C:\\Windows"}, "sandrivo-report: \"C:\\Windows\" ist kein Laufwerksbuchstabe\r\n"},
      {{"C:/"}, "sandrivo-report: \"C:/\" ist kein Laufwerksbuchstabe\r\n"},
      {{"E"}, "sandrivo-report: Laufwerk E: ist nicht vorhanden\r\n"},
      {{"q:"}, "sandrivo-report: Laufwerk Q: ist nicht vorhanden\r\n"},
  };
  for (const auto& c : cases) {
    const app::TCommandResult result = RunReportCommand(c.args, fake);
    EXPECT_EQ(result.ExitCode, 2) << c.message;
    EXPECT_EQ(result.Out, "");
    EXPECT_EQ(result.Err, c.message);
  }
}

TEST(ReportCommand, HelpIsGermanUsageOnStandardOutput) {
  const TFakeDriveQueries fake = TwoDrives();
  const app::TCommandResult result = RunReportCommand({"--help"}, fake);
  EXPECT_EQ(result.ExitCode, 0);
  EXPECT_EQ(result.Out.rfind("Aufruf: sandrivo-report [Laufwerk]\r\n", 0), 0u) << result.Out;
  EXPECT_EQ(result.Err, "");
}

TEST(ReportProgram, PrintsTheClipboardTextsByteForByte) {
  tk::ClipboardText(nullptr);  // fails the test early when no clipboard is at hand
  app::TMainForm form;
  form.Show();
  testing_support::Pump();
  testing_support::Click(form.CopyInfosBtn.Handle(), 12, 12);
  const std::string table = tk::ClipboardText(nullptr);

  const TProcessResult all = RunReportProgram("");
  EXPECT_EQ(all.ExitCode, 0u) << all.Err;
  EXPECT_EQ(all.Out, table);

  for (int i = 0; i < form.DrivesView.Count(); ++i) {
    if (form.DrivesView.Caption(i)[0] != 'C') continue;
    const POINT p = testing_support::ListItemCenter(form.DrivesView.Handle(), i);
    testing_support::Click(form.DrivesView.Handle(), p.x, p.y);
  }
  testing_support::Click(form.CopyInfoBtn.Handle(), 12, 12);
  const TProcessResult one = RunReportProgram("c:");
  EXPECT_EQ(one.ExitCode, 0u) << one.Err;
  EXPECT_EQ(one.Out, tk::ClipboardText(nullptr));
  EXPECT_EQ(one.Out.substr(0, 22), "Laufwerksbuchstabe;C\r\n");
}

TEST(ReportProgram, ExitStatusesOfTheRealProgram) {
  const TProcessResult tooMany = RunReportProgram("C D");
  EXPECT_EQ(tooMany.ExitCode, 2u);
  EXPECT_EQ(tooMany.Out, "");
  EXPECT_EQ(tooMany.Err, "sandrivo-report: zu viele Argumente (höchstens ein Laufwerk)\r\n");
  const TProcessResult bad = RunReportProgram("xyz");
  EXPECT_EQ(bad.ExitCode, 2u);
  const TProcessResult help = RunReportProgram("--help");
  EXPECT_EQ(help.ExitCode, 0u);
  EXPECT_NE(help.Out.find("Laufwerk"), std::string::npos);
}
