// The console report: its arguments in-process, and the real program against the clipboard text.
#include <gtest/gtest.h>

#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "build_commit.h"
#include "drive/DriveExport.h"
#include "drive/DriveList.h"
#include "drive/ReportCommand.h"
#include "runtime/Handles.h"
#include "runtime/Text.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FakeDriveQueries.h"
#include "version.h"

using drive::RunReportCommand;
using testing_support::FixedDrive;
using testing_support::TFakeDriveQueries;
using testing_support::TwoDrives;

namespace {

using runtime::TKernelHandle;
using testing_support::RunReportProgram;
using testing_support::TProgramResult;

}  // namespace

TEST(ReportCommand, WithoutArgumentPrintsTheTableOfListedDrives) {
  const TFakeDriveQueries fake = TwoDrives();
  const drive::TCommandResult result = RunReportCommand(std::vector<std::string>(), fake);
  EXPECT_EQ(result.ExitCode, 0);
  EXPECT_EQ(result.Err, "");
  EXPECT_EQ(result.Out, drive::DrivesTableLines({'C', 'D'}, ';', fake).Text());
}

TEST(ReportCommand, DriveArgumentsInEveryForm) {
  const TFakeDriveQueries fake = TwoDrives();
  const std::string expected = drive::DriveInfoLines('D', ';', fake).Text();
  for (const char* arg : {"D", "d", "D:", "d:\\"}) {
    const drive::TCommandResult result = RunReportCommand({arg}, fake);
    EXPECT_EQ(result.ExitCode, 0) << arg;
    EXPECT_EQ(result.Out, expected) << arg;
    EXPECT_EQ(result.Err, "") << arg;
  }
}

TEST(ReportCommand, BadArgumentsGiveAMessageAndStatusTwo) {
  const TFakeDriveQueries fake = TwoDrives();
  const struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"C", "D"}, "sandrivo-report: zu viele Argumente (höchstens ein Laufwerk)\r\n"},
      {{"CD"}, "sandrivo-report: \"CD\" ist kein Laufwerksbuchstabe\r\n"},
      {{"1"}, "sandrivo-report: \"1\" ist kein Laufwerksbuchstabe\r\n"},
      {{""}, "sandrivo-report: \"\" ist kein Laufwerksbuchstabe\r\n"},
      {{"C:\\Windows"}, "sandrivo-report: \"C:\\Windows\" ist kein Laufwerksbuchstabe\r\n"},
      {{"C:/"}, "sandrivo-report: \"C:/\" ist kein Laufwerksbuchstabe\r\n"},
      {{"E"}, "sandrivo-report: Laufwerk E: ist nicht vorhanden\r\n"},
      {{"q:"}, "sandrivo-report: Laufwerk Q: ist nicht vorhanden\r\n"},
      // Control characters are shown, not sent to the terminal.
      {{"\x1B[31mC"}, "sandrivo-report: \"\\x1B[31mC\" ist kein Laufwerksbuchstabe\r\n"},
      {{"C\r\n\t\x7F"}, "sandrivo-report: \"C\\x0D\\x0A\\x09\\x7F\" ist kein Laufwerksbuchstabe\r\n"},
      {{"-\x9D"
        "8;;x\x1B\\"},
       "sandrivo-report: unbekannte Option \"-\\x9D8;;x\\x1B\\\" (Hilfe: sandrivo-report --help)\r\n"},
      {{"\xE4\x80"}, "sandrivo-report: \"\xE4\x80\" ist kein Laufwerksbuchstabe\r\n"},
      // Up to 40 characters are echoed whole, longer arguments shortened.
      {{std::string(40, 'x')},
       "sandrivo-report: \"" + std::string(40, 'x') + "\" ist kein Laufwerksbuchstabe\r\n"},
      {{std::string(41, 'x')},
       "sandrivo-report: \"" + std::string(40, 'x') + "...\" ist kein Laufwerksbuchstabe\r\n"},
  };
  for (const auto& c : cases) {
    const drive::TCommandResult result = RunReportCommand(c.args, fake);
    EXPECT_EQ(result.ExitCode, 2) << c.message;
    EXPECT_EQ(result.Out, "");
    EXPECT_EQ(result.Err, c.message);
  }
}

TEST(ReportCommand, ABadArgumentInAnyScriptIsEchoedWholeToTheConsole) {
  const TFakeDriveQueries fake = TwoDrives();
  const struct {
    std::wstring arg;
    std::wstring console;  // between the quotes
    std::string bytes;
  } cases[] = {
      {L"\uFF23", L"\uFF23", "?"},               // a full-width C is no letter
      {L"\U0001F600x", L"\U0001F600x", "?x"},    // one character beyond the basic plane
      {L"C\u202E:", L"C\\u202E:", "C\\u202E:"},  // a bidi override turns nothing around
      {std::wstring(39, L'x') + L"\U0001F600!", std::wstring(39, L'x') + L"\U0001F600...",
       std::string(39, 'x') + "?..."},  // shortened by characters, never inside a pair
  };
  for (const auto& c : cases) {
    const std::vector<std::wstring> args{c.arg};
    const drive::TCommandResult result = RunReportCommand(std::span<const std::wstring>(args), fake);
    EXPECT_EQ(result.ExitCode, 2);
    EXPECT_EQ(result.ConsoleErr, L"sandrivo-report: \"" + c.console + L"\" ist kein Laufwerksbuchstabe\r\n");
    EXPECT_EQ(result.Err, "sandrivo-report: \"" + c.bytes + "\" ist kein Laufwerksbuchstabe\r\n");
  }
}

TEST(ReportCommand, HelpIsGermanUsageOnStandardOutput) {
  const TFakeDriveQueries fake = TwoDrives();
  const drive::TCommandResult result = RunReportCommand({"--help"}, fake);
  EXPECT_EQ(result.ExitCode, 0);
  EXPECT_EQ(result.Out.rfind("Aufruf: sandrivo-report [--json] [--details] [--timeout SEKUNDEN] [Laufwerk]\r\n", 0), 0u)
      << result.Out;
  EXPECT_EQ(result.Err, "");
}

TEST(ReportProgram, ExitStatusesOfTheRealProgram) {
  const TProgramResult tooMany = RunReportProgram("C D");
  EXPECT_EQ(tooMany.ExitCode, 2u);
  EXPECT_EQ(tooMany.Out, "");
  EXPECT_EQ(tooMany.Err, "sandrivo-report: zu viele Argumente (höchstens ein Laufwerk)\r\n");
  const TProgramResult bad = RunReportProgram("xyz");
  EXPECT_EQ(bad.ExitCode, 2u);
  const TProgramResult badTime = RunReportProgram("--timeout 0");
  EXPECT_EQ(badTime.ExitCode, 2u);
  EXPECT_EQ(badTime.Err, "sandrivo-report: \"0\" ist keine Zeit in Sekunden (1 bis 86400)\r\n");
  const TProgramResult help = RunReportProgram("--help");
  EXPECT_EQ(help.ExitCode, 0u);
  EXPECT_NE(help.Out.find("Laufwerk"), std::string::npos);
}

// The program names what it was built from, in its answer and in its own resources.
TEST(ReportProgram, VersionAnswerAndResourcesNameTheCommit) {
  const TProgramResult version = RunReportProgram("--version");
  EXPECT_EQ(version.ExitCode, 0u);
  EXPECT_EQ(version.Out, SANDRIVO_PRODUCT_NAME " (sandrivo-report) " SANDRIVO_VERSION_TEXT
                                               "\r\nCommit " SANDRIVO_COMMIT "\r\n");

  std::wstring path = testing_support::OwnPath();
  path = path.substr(0, path.find_last_of(L'\\'));
  path = path.substr(0, path.find_last_of(L'\\')) + L"\\sandrivo-report.exe";
  const runtime::TUniqueHandle<HMODULE, FreeLibrary> library(
      LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  const HMODULE module = library.Get();
  ASSERT_NE(module, nullptr);
  const auto resource = [module](LPCWSTR type) {
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), type);
    if (!found) return std::string();
    return std::string(static_cast<const char*>(LockResource(LoadResource(module, found))),
                       SizeofResource(module, found));
  };
  const std::string info = resource(MAKEINTRESOURCEW(16)), manifest = resource(MAKEINTRESOURCEW(24));
  const auto holds = [&info](const std::wstring& text) {
    return info.find(std::string(reinterpret_cast<const char*>(text.c_str()), text.size() * 2)) !=
           std::string::npos;
  };
  EXPECT_TRUE(holds(L"sandrivo-report.exe") && holds(SANDRIVO_WIDE(SANDRIVO_VERSION_TEXT)));
  EXPECT_TRUE(holds(L"Commit " SANDRIVO_WIDE(SANDRIVO_COMMIT)));
  EXPECT_NE(manifest.find("name=\"Quelix.DiskInfo.Report\" version=\"" SANDRIVO_VERSION_TEXT "\""),
            std::string::npos);
}

// The real program with its standard output where nothing can be written.
TEST(ReportProgram, LostOutputIsAFailure) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  ASSERT_TRUE(CreatePipe(&read, &write, &inherit, 0));
  TKernelHandle reader(read);
  const TKernelHandle writer(write);
  reader.Reset();  // nobody will read: every write fails
  const TProgramResult closed = RunReportProgram("C", write);
  EXPECT_EQ(closed.ExitCode, 1u);
  EXPECT_EQ(closed.Err.rfind("sandrivo-report: Die Ausgabe konnte nicht geschrieben werden", 0), 0u)
      << closed.Err;

  // Linux's always-full device, where Wine reaches it.
  const TKernelHandle full(
      runtime::NullIfInvalid(CreateFileW(L"Z:\\dev\\full", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         &inherit, OPEN_EXISTING, 0, nullptr)));
  if (!full) GTEST_SKIP() << "no full device here";
  const TProgramResult disk = RunReportProgram("--help", full.Get());
  EXPECT_EQ(disk.ExitCode, 1u);
  EXPECT_EQ(disk.Err,
            "sandrivo-report: Die Ausgabe konnte nicht geschrieben werden (Windows-Fehler 112).\r\n");
}

// The command line is read wide: look-alikes of options and letters from other scripts are wrong
// calls, not the options and letters they resemble; control characters are not echoed raw.
TEST(ReportProgram, OnlyAsciiOptionsAndLettersAreTaken) {
  const struct {
    const wchar_t* arguments;
    const char* message;
  } cases[] = {
      {L"\uFF23", "sandrivo-report: \"?\" ist kein Laufwerksbuchstabe\r\n"},                 // Ｃ
      {L"\uFF23:", "sandrivo-report: \"?:\" ist kein Laufwerksbuchstabe\r\n"},               // Ｃ:
      {L"\uFF0D\uFF0Djson", "sandrivo-report: \"??json\" ist kein Laufwerksbuchstabe\r\n"},  // －－json
      {L"\uFF0F\uFF1F", "sandrivo-report: \"??\" ist kein Laufwerksbuchstabe\r\n"},          // ／？
      {L"\u0421", "sandrivo-report: \"?\" ist kein Laufwerksbuchstabe\r\n"},                 // Cyrillic С
      {L"\"\x1B]0;x\a\x1B[2J\"",
       "sandrivo-report: \"\\x1B]0;x\\x07\\x1B[2J\" ist kein Laufwerksbuchstabe\r\n"},
  };
  for (const auto& c : cases) {
    const TProgramResult result = RunReportProgram(c.arguments);
    EXPECT_EQ(result.ExitCode, 2u) << c.message;
    EXPECT_EQ(result.Out, "") << c.message;
    EXPECT_EQ(result.Err, c.message);
  }
}
