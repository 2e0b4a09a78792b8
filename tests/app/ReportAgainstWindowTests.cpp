// The console report against the main window: the same drives, the same bytes.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "drive/ReportCommand.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FakeDriveQueries.h"
#include "tests/support/WindowTesting.h"
#include "toolkit/Clipboard.h"

using drive::RunReportCommand;
using testing_support::FixedDrive;
using testing_support::RunReportProgram;
using testing_support::TFakeDriveQueries;
using testing_support::TProgramResult;
using testing_support::TwoDrives;

TEST(ReportCommand, PrintsTheMainWindowsClipboardTextsByteForByte) {
  TFakeDriveQueries fake = TwoDrives();
  fake.Drives['A'] = FixedDrive(0, 0);
  fake.Drives['A'].Type = DRIVE_REMOVABLE;
  fake.Drives['A'].VolumeAnswers = false;
  fake.Drives['C'].Volume.VolumeName = L"Daten;\"alt\"";
  app::TMainForm form(fake);
  form.AnswerPatience = testing_support::kFakeAnswerPatience;
  form.Create();
  form.Show();
  testing_support::Pump();
  testing_support::Click(form.CopyInfosBtn.Handle(), 12, 12);
  EXPECT_EQ(RunReportCommand(std::vector<std::string>(), fake).Out, toolkit::ClipboardText(nullptr));

  const POINT c = testing_support::ListItemCenter(form.DrivesView.Handle(), 1);
  testing_support::Click(form.DrivesView.Handle(), c.x, c.y);
  testing_support::Click(form.CopyInfoBtn.Handle(), 12, 12);
  const std::string one = toolkit::ClipboardText(nullptr);
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
  toolkit::ClipboardText(nullptr);  // fails the test early when no clipboard is at hand
  app::TMainForm form;
  form.Create();
  form.Show();
  testing_support::Pump();
  testing_support::Click(form.CopyInfosBtn.Handle(), 12, 12);
  ASSERT_TRUE(testing_support::WaitForAnswers());
  const std::string table = toolkit::ClipboardText(nullptr);

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
  const std::string windowOne = toolkit::ClipboardText(nullptr);
  const TProgramResult one = RunReportProgram("c:");
  EXPECT_EQ(one.ExitCode, 0u) << one.Err;
  EXPECT_EQ(one.Out.substr(0, 22), "Laufwerksbuchstabe;C\r\n");
  ExpectSameDrives(OneDrive(windowOne), OneDrive(one.Out));
}
