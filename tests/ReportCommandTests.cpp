// The console report: its arguments in-process, and the real program against the clipboard text.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "app/drive/DriveExport.h"
#include "app/drive/DriveList.h"
#include "app/drive/ReportCommand.h"
#include "runtime/Text.h"
#include "tests/ChildProcess.h"
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

using testing_support::TProgramResult;
using TFile = tk::TUniqueHandle<HANDLE, CloseHandle>;

// Runs the built console program, which lies beside the tests' folder; its standard output goes to
// output when one is given (an inheritable handle), to Out otherwise.
TProgramResult RunReportProgram(const std::wstring& arguments, HANDLE output = nullptr) {
  std::wstring path = testing_support::OwnPath();
  path = path.substr(0, path.find_last_of(L'\\'));
  path = path.substr(0, path.find_last_of(L'\\')) + L"\\sandrivo-report.exe";
  TProgramResult result = testing_support::RunProgram(path, arguments, {.Output = output});
  if (!result.Started)
    ADD_FAILURE() << "cannot start " << tk::Cp1252FromWide(path) << ": error " << result.StartError;
  EXPECT_TRUE(result.Ended) << tk::Cp1252FromWide(arguments);
  return result;
}
TProgramResult RunReportProgram(const std::string& arguments, HANDLE output = nullptr) {
  return RunReportProgram(tk::WideFromCp1252(arguments), output);
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
      // Control characters are shown, not sent to the terminal.
      {{"\x1B[31mC"}, "sandrivo-report: \"\\x1B[31mC\" ist kein Laufwerksbuchstabe\r\n"},
      {{"C\r\n\t\x7F"}, "sandrivo-report: \"C\\x0D\\x0A\\x09\\x7F\" ist kein Laufwerksbuchstabe\r\n"},
      {{"-\x9D"
        "8;;x\x1B\\"},
       "sandrivo-report: unbekannte Option \"-\\x9D8;;x\\x1B\\\" (Hilfe: sandrivo-report --help)\r\n"},
      {{"\xE4\x80"}, "sandrivo-report: \"\xE4\x80\" ist kein Laufwerksbuchstabe\r\n"},
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
  EXPECT_EQ(result.Out.rfind("Aufruf: sandrivo-report [--json] [--timeout SEKUNDEN] [Laufwerk]\r\n", 0), 0u)
      << result.Out;
  EXPECT_EQ(result.Err, "");
}

TEST(ReportCommand, PrintsTheMainWindowsClipboardTextsByteForByte) {
  TFakeDriveQueries fake = TwoDrives();
  fake.Drives['A'] = FixedDrive(0, 0);
  fake.Drives['A'].Type = DRIVE_REMOVABLE;
  fake.Drives['A'].VolumeAnswers = false;
  fake.Drives['C'].Volume.VolumeName = "Daten;\"alt\"";
  app::TMainForm form(fake);
  form.Create();
  form.Show();
  testing_support::Pump();
  testing_support::Click(form.CopyInfosBtn.Handle(), 12, 12);
  EXPECT_EQ(RunReportCommand({}, fake).Out, tk::ClipboardText(nullptr));

  const POINT c = testing_support::ListItemCenter(form.DrivesView.Handle(), 1);
  testing_support::Click(form.DrivesView.Handle(), c.x, c.y);
  testing_support::Click(form.CopyInfoBtn.Handle(), 12, 12);
  const std::string one = tk::ClipboardText(nullptr);
  EXPECT_EQ(RunReportCommand({"C"}, fake).Out, one);
  EXPECT_NE(one.find("Volume-Name;\"Daten;\"\"alt\"\"\"\r\n"), std::string::npos) << one;
}

namespace {

// The fields of one exported line; quoted fields lose their quotes.
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char ch = line[i];
    if (quoted && ch == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      fields.back() += '"';
      ++i;
    } else if (ch == '"') {
      quoted = !quoted;
    } else if (ch == ';' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += ch;
    }
  }
  return fields;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "a line without CR LF at the end: " << text.substr(start);
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// "1.234.567" (German thousands separators) as a number.
double Number(std::string text) {
  std::erase(text, '.');
  std::replace(text.begin(), text.end(), ',', '.');
  return std::stod(text);
}

// Figures that follow the disk's free space: they may move between two reads.
bool Moves(const std::string& name) {
  return name == "Freie Cluster" || name == "frei (Bytes)" || name == "belegt (Bytes)" ||
         name == "frei für Benutzer (Bytes)" || name == "belegt (%)";
}

// The moving figures of one drive agree with its fixed total.
void ExpectConsistent(const std::map<std::string, std::string>& drive, const std::string& where) {
  if (!drive.count("gesamt (Bytes)")) return;  // the volume did not answer
  const double total = Number(drive.at("gesamt (Bytes)"));
  const double free = Number(drive.at("frei (Bytes)"));
  const double used = Number(drive.at("belegt (Bytes)"));
  EXPECT_EQ(free + used, total) << where;
  EXPECT_LE(Number(drive.at("frei für Benutzer (Bytes)")), total) << where;
  EXPECT_LE(Number(drive.at("Freie Cluster")), Number(drive.at("Cluster gesamt"))) << where;
  const double percent = Number(drive.at("belegt (%)"));
  EXPECT_NEAR(percent, total > 0 ? used * 100 / total : 0, 0.00005 + 1e-9) << where;
}

// Compares two exports of the same drives taken at two moments: everything but the moving figures
// byte for byte, the moving figures for consistency within each export.
void ExpectSameDrives(const std::vector<std::map<std::string, std::string>>& window,
                      const std::vector<std::map<std::string, std::string>>& program) {
  ASSERT_EQ(window.size(), program.size());
  for (size_t i = 0; i < window.size(); ++i) {
    const std::string where = "drive " + std::to_string(i) + " " + window[i].begin()->second;
    ASSERT_EQ(window[i].size(), program[i].size()) << where;
    for (const auto& [name, value] : window[i]) {
      ASSERT_TRUE(program[i].count(name)) << where << ": " << name;
      if (!Moves(name)) {
        EXPECT_EQ(program[i].at(name), value) << where << ": " << name;
      }
    }
    ExpectConsistent(window[i], "window " + where);
    ExpectConsistent(program[i], "program " + where);
  }
}

// The all-drives table as one name-to-value map per drive; the header line must match exactly.
std::vector<std::map<std::string, std::string>> TableDrives(const std::string& text, std::string& header) {
  const std::vector<std::string> lines = Lines(text);
  std::vector<std::map<std::string, std::string>> drives;
  if (lines.empty()) return drives;
  header = lines[0];
  const std::vector<std::string> names = Fields(lines[0]);
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> values = Fields(lines[i]);
    std::map<std::string, std::string> drive;
    // A drive without medium has fewer values; the header belongs to a drive that answered.
    for (size_t k = 0; k < values.size() && k < names.size(); ++k) drive[names[k]] = values[k];
    drives.push_back(drive);
  }
  return drives;
}

std::vector<std::map<std::string, std::string>> OneDrive(const std::string& text) {
  std::map<std::string, std::string> drive;
  for (const std::string& line : Lines(text)) {
    const std::vector<std::string> fields = Fields(line);
    if (fields.size() != 2) ADD_FAILURE() << "not a name;value line: " << line;
    if (fields.size() == 2) drive[fields[0]] = fields[1];
  }
  return {drive};
}

}  // namespace

// The real drives: the program, a moment after the window, gives the same drives, names and fixed
// figures; the free-space figures may have moved in between, so they are checked for consistency.
TEST(ReportProgram, PrintsTheSameDrivesAsTheWindow) {
  tk::ClipboardText(nullptr);  // fails the test early when no clipboard is at hand
  app::TMainForm form;
  form.Create();
  form.Show();
  testing_support::Pump();
  testing_support::Click(form.CopyInfosBtn.Handle(), 12, 12);
  ASSERT_TRUE(testing_support::WaitForAnswers());
  const std::string table = tk::ClipboardText(nullptr);

  const TProgramResult all = RunReportProgram("");
  EXPECT_EQ(all.ExitCode, 0u) << all.Err;
  std::string windowHeader, programHeader;
  const auto windowDrives = TableDrives(table, windowHeader);
  ASSERT_FALSE(windowDrives.empty());
  ExpectSameDrives(windowDrives, TableDrives(all.Out, programHeader));
  EXPECT_EQ(programHeader, windowHeader);

  for (int i = 0; i < form.DrivesView.Count(); ++i) {
    if (form.DrivesView.Caption(i)[0] != 'C') continue;
    const POINT p = testing_support::ListItemCenter(form.DrivesView.Handle(), i);
    testing_support::Click(form.DrivesView.Handle(), p.x, p.y);
  }
  testing_support::Click(form.CopyInfoBtn.Handle(), 12, 12);
  ASSERT_TRUE(testing_support::WaitForAnswers());
  const std::string windowOne = tk::ClipboardText(nullptr);
  const TProgramResult one = RunReportProgram("c:");
  EXPECT_EQ(one.ExitCode, 0u) << one.Err;
  EXPECT_EQ(one.Out.substr(0, 22), "Laufwerksbuchstabe;C\r\n");
  ExpectSameDrives(OneDrive(windowOne), OneDrive(one.Out));
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

// The real program with its standard output where nothing can be written.
TEST(ReportProgram, LostOutputIsAFailure) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  ASSERT_TRUE(CreatePipe(&read, &write, &inherit, 0));
  CloseHandle(read);  // nobody will read: every write fails
  TFile writer(write);
  const TProgramResult closed = RunReportProgram("C", write);
  EXPECT_EQ(closed.ExitCode, 1u);
  EXPECT_EQ(closed.Err.rfind("sandrivo-report: Die Ausgabe konnte nicht geschrieben werden", 0), 0u)
      << closed.Err;

  // Linux's always-full device, where Wine reaches it.
  TFile full(CreateFileA("Z:\\dev\\full", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                         OPEN_EXISTING, 0, nullptr));
  if (full.Get() == INVALID_HANDLE_VALUE) {
    full.Detach();
    GTEST_SKIP() << "no full device here";
  }
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
