// The console report's output: checked writes, the console's conversion, the JSON document read
// back by a JSON parser, and arguments handled without asking any drive.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "drive/DriveInfo.h"
#include "drive/ReportCommand.h"
#include "drive/ReportOutput.h"
#include "runtime/Handles.h"
#include "runtime/Text.h"
#include "tests/support/FakeDriveQueries.h"

using drive::RunReportCommand;
using testing_support::FixedDrive;
using testing_support::TFakeDriveQueries;

namespace {

// Takes bytes until its limit, then fails; can fail the flush too.
class TLimitedSink final : public drive::TOutputSink {
 public:
  explicit TLimitedSink(size_t limit = SIZE_MAX, bool failFlush = false)
      : limit_(limit), failFlush_(failFlush) {}
  bool Write(std::string_view bytes) override {
    const size_t room = limit_ - std::min(limit_, Text.size());
    Text.append(bytes.substr(0, room));
    return bytes.size() <= room;
  }
  bool Flush() override { return !failFlush_; }
  DWORD Error() const override { return limit_ == SIZE_MAX ? 0 : ERROR_DISK_FULL; }
  std::string Text;

 private:
  size_t limit_;
  bool failFlush_;
};

// A drive layer that no call may reach.
class TUntouchableDrives final : public drive::TDriveQueries {
 public:
  UINT DriveType(const std::string& root) const override {
    ADD_FAILURE() << "GetDriveTypeA " << root;
    return 0;
  }
  bool VolumeInformation(const std::string& root, drive::TVolumeAnswer&) const override {
    ADD_FAILURE() << "GetVolumeInformationA " << root;
    return false;
  }
  void DiskFreeSpace(const std::string& root, drive::TClusterAnswer&) const override {
    ADD_FAILURE() << "GetDiskFreeSpaceA " << root;
  }
  std::optional<drive::TFreeSpaceAnswer> DiskFreeSpaceEx(const std::string& root) const override {
    ADD_FAILURE() << "GetDiskFreeSpaceExA " << root;
    return std::nullopt;
  }
};

// Records the letters whose type is asked, from whichever thread asks.
class TCountingDrives final : public drive::TDriveQueries {
 public:
  explicit TCountingDrives(const TFakeDriveQueries& fake) : fake_(fake) {}
  UINT DriveType(const std::string& root) const override {
    const std::lock_guard<std::mutex> lock(mutex_);
    Asked += root[0];
    return fake_.DriveType(root);
  }
  bool VolumeInformation(const std::string& root, drive::TVolumeAnswer& answer) const override {
    return fake_.VolumeInformation(root, answer);
  }
  void DiskFreeSpace(const std::string& root, drive::TClusterAnswer& answer) const override {
    fake_.DiskFreeSpace(root, answer);
  }
  std::optional<drive::TFreeSpaceAnswer> DiskFreeSpaceEx(const std::string& root) const override {
    return fake_.DiskFreeSpaceEx(root);
  }
  mutable std::string Asked;

 private:
  const TFakeDriveQueries& fake_;
  mutable std::mutex mutex_;
};

const char kWriteFailure[] =
    "sandrivo-report: Die Ausgabe konnte nicht geschrieben werden (Windows-Fehler 112).\r\n";

}  // namespace

TEST(ReportOutput, AFailedWriteOrFlushEndsWithAMessageAndStatusOne) {
  const drive::TCommandResult result{"Laufwerksbuchstabe;C\r\nLaufwerkstyp;Festplatte\r\n", "", 0};
  const struct {
    size_t limit;
    bool failFlush;
    const char* where;
  } cases[] = {{0, false, "first byte"}, {10, false, "middle"}, {SIZE_MAX - 1, true, "flush"}};
  for (const auto& c : cases) {
    TLimitedSink out(c.limit, c.failFlush), err;
    EXPECT_EQ(drive::DeliverReport(result, out, err), 1) << c.where;
    EXPECT_EQ(err.Text, kWriteFailure) << c.where;
  }
  // No standard output at all (a program started without one): the handle's fault is named.
  drive::THandleSink none(nullptr);
  TLimitedSink noneErr;
  SetLastError(0);
  EXPECT_EQ(drive::DeliverReport(result, none, noneErr), 1);
  EXPECT_EQ(noneErr.Text,
            "sandrivo-report: Die Ausgabe konnte nicht geschrieben werden (Windows-Fehler 6).\r\n");
  TLimitedSink out, err;
  EXPECT_EQ(drive::DeliverReport({"text", "warn\r\n", 2}, out, err), 2);
  EXPECT_EQ(out.Text, "text");
  EXPECT_EQ(err.Text, "warn\r\n");
}

TEST(ReportOutput, TheConsoleGetsTheRedirectedBytesReadAsCodePage1252) {
  const std::string bytes =
      "L\xE4nge Dateiname;255\r\nfrei f\xFCr Benutzer (Bytes);1.024\r\nh\xF6"
      "chstens \x80\r\n";
  std::wstring expected(bytes.size(), L'\0');
  expected.resize(
      static_cast<size_t>(MultiByteToWideChar(1252, 0, bytes.data(), static_cast<int>(bytes.size()),
                                              expected.data(), static_cast<int>(expected.size()))));
  EXPECT_EQ(runtime::WideFromCp1252(bytes), expected);
  EXPECT_EQ(runtime::WideFromCp1252(bytes)[1], L'\u00E4');
}

TEST(ReportCommand, HelpAndUsageErrorsAskNoDrive) {
  const TUntouchableDrives drives;
  for (const char* help : {"--help", "-h", "/?"}) {
    const drive::TCommandResult result = RunReportCommand({"C", help}, drives);
    EXPECT_EQ(result.ExitCode, 0) << help;
    EXPECT_NE(result.Out.find("--json"), std::string::npos) << help;
  }
  const struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"--foo"}, "sandrivo-report: unbekannte Option \"--foo\" (Hilfe: sandrivo-report --help)\r\n"},
      {{"-x"}, "sandrivo-report: unbekannte Option \"-x\" (Hilfe: sandrivo-report --help)\r\n"},
      {{"--HELP"}, "sandrivo-report: unbekannte Option \"--HELP\" (Hilfe: sandrivo-report --help)\r\n"},
      {{"C", "--json", "D"}, "sandrivo-report: zu viele Argumente (höchstens ein Laufwerk)\r\n"},
      {{"xyz"}, "sandrivo-report: \"xyz\" ist kein Laufwerksbuchstabe\r\n"},
      {{std::string(10000, 'a')},
       "sandrivo-report: \"" + std::string(40, 'a') + "...\" ist kein Laufwerksbuchstabe\r\n"},
      {{"--timeout"}, "sandrivo-report: --timeout ohne Sekunden (Hilfe: sandrivo-report --help)\r\n"},
      {{"C", "--timeout"}, "sandrivo-report: --timeout ohne Sekunden (Hilfe: sandrivo-report --help)\r\n"},
      {{"--timeout", "0"}, "sandrivo-report: \"0\" ist keine Zeit in Sekunden (1 bis 86400)\r\n"},
      {{"--timeout", "-1"}, "sandrivo-report: \"-1\" ist keine Zeit in Sekunden (1 bis 86400)\r\n"},
      {{"--timeout", "1.5"}, "sandrivo-report: \"1.5\" ist keine Zeit in Sekunden (1 bis 86400)\r\n"},
      {{"--timeout", "86401"}, "sandrivo-report: \"86401\" ist keine Zeit in Sekunden (1 bis 86400)\r\n"},
      {{"--timeout", "4294967297"},
       "sandrivo-report: \"4294967297\" ist keine Zeit in Sekunden (1 bis 86400)\r\n"},
      {{"--timeout", "C"}, "sandrivo-report: \"C\" ist keine Zeit in Sekunden (1 bis 86400)\r\n"},
      {{"--timeout="}, "sandrivo-report: \"\" ist keine Zeit in Sekunden (1 bis 86400)\r\n"},
      {{"--timeout=5s", "C"}, "sandrivo-report: \"5s\" ist keine Zeit in Sekunden (1 bis 86400)\r\n"},
      {{"--timeouts=5"},
       "sandrivo-report: unbekannte Option \"--timeouts=5\" (Hilfe: sandrivo-report --help)\r\n"},
  };
  for (const auto& c : cases) {
    const drive::TCommandResult result = RunReportCommand(c.args, drives);
    EXPECT_EQ(result.ExitCode, 2) << c.message;
    EXPECT_EQ(result.Out, "");
    EXPECT_EQ(result.Err, c.message);
  }
}

TEST(ReportCommand, TimeLimitsInEveryForm) {
  TFakeDriveQueries fake;
  fake.Drives['C'] = FixedDrive(4096000, 1024000);
  const std::string table = RunReportCommand(std::vector<std::string>(), fake).Out,
                    one = RunReportCommand({"C"}, fake).Out;
  ASSERT_NE(table, "");
  const struct {
    std::vector<std::string> args;
    const std::string& out;
  } cases[] = {{{"--timeout", "1"}, table},
               {{"--timeout=86400"}, table},
               {{"C", "--timeout", "30"}, one},
               {{"--timeout", "2", "--timeout=007", "c:"}, one}};
  for (const auto& c : cases) {
    const drive::TCommandResult result = RunReportCommand(c.args, fake);
    EXPECT_EQ(result.ExitCode, 0) << c.args[0];
    EXPECT_EQ(result.Err, "") << c.args[0];
    EXPECT_EQ(result.Out, c.out) << c.args[0];
  }
}

namespace {

// B: a network drive whose volume query hangs; C and D answer.
TFakeDriveQueries WithAHangingDrive() {
  TFakeDriveQueries fake;
  fake.Drives['B'] = FixedDrive(4096000, 0);
  fake.Drives['B'].Type = DRIVE_REMOTE;
  fake.Drives['B'].Blocks = true;
  fake.Drives['C'] = FixedDrive(4096000, 1024000);
  fake.Drives['D'] = FixedDrive(8192000, 2048000);
  fake.Drives['D'].Type = DRIVE_CDROM;
  return fake;
}

// Lets the hanging drive answer when the report has not ended in time: a report that waits for
// it then shows its figures and fails the test, instead of hanging.
class TWatchdog {
 public:
  explicit TWatchdog(const TFakeDriveQueries& fake)
      : thread_([this, &fake] {
          if (WaitForSingleObject(stop_.Get(), 20000) == WAIT_TIMEOUT) fake.Release();
        }) {}
  ~TWatchdog() {
    SetEvent(stop_.Get());
    thread_.join();
  }
  TWatchdog(const TWatchdog&) = delete;
  TWatchdog& operator=(const TWatchdog&) = delete;

 private:
  const runtime::TKernelHandle stop_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::thread thread_;
};

}  // namespace

TEST(ReportCommand, ADriveThatDoesNotAnswerInTimeIsReportedAsNotAnsweringAndTheOthersInFull) {
  const TFakeDriveQueries fake = WithAHangingDrive();
  // The same drives with B as a drive whose volume did not answer: what the report must print.
  TFakeDriveQueries quiet = WithAHangingDrive();
  quiet.Drives['B'].Blocks = false;
  quiet.Drives['B'].VolumeAnswers = false;
  const TWatchdog watchdog(fake);
  const char note[] = "sandrivo-report: Laufwerk B: hat nicht binnen 1 s geantwortet\r\n";
  const struct { std::vector<std::string> args; } cases[] = {{{"--timeout", "1"}}, {{"--timeout=1", "b:"}}};
  for (const auto& c : cases) {
    const drive::TCommandResult result = RunReportCommand(c.args, fake);
    EXPECT_EQ(result.ExitCode, 0) << c.args.back();
    EXPECT_EQ(result.Err, note) << c.args.back();
    std::vector<std::string> args = c.args;
    args.erase(args.begin(), args.begin() + (args[0] == "--timeout" ? 2 : 1));
    EXPECT_EQ(result.Out, RunReportCommand(args, quiet).Out) << c.args.back();
  }
  EXPECT_EQ(RunReportCommand({"--timeout", "1", "B"}, fake).Out,
            "Laufwerksbuchstabe;B\r\nLaufwerkstyp;Netzlaufwerk\r\n");

  // JSON: the drive that did not answer in time says so; everything else is as without it.
  const drive::TCommandResult json = RunReportCommand({"--json", "--timeout", "1"}, fake);
  EXPECT_EQ(json.ExitCode, 0);
  EXPECT_EQ(json.Err, note);
  nlohmann::json document = nlohmann::json::parse(json.Out);
  ASSERT_EQ(document.size(), 3u);
  EXPECT_EQ(document[0]["letter"], "B");
  EXPECT_EQ(document[0]["answered"], false);
  EXPECT_EQ(document[0]["timedOut"], true);
  EXPECT_EQ(document[0]["typeName"], "Netzlaufwerk");
  EXPECT_TRUE(document[0]["totalBytes"].is_null());
  const nlohmann::json expected = nlohmann::json::parse(RunReportCommand({"--json"}, quiet).Out);
  EXPECT_EQ(expected[0]["timedOut"], false) << "every drive says whether it answered in time";
  document[0]["timedOut"] = false;
  EXPECT_EQ(document, expected);
}

TEST(ReportCommand, ALetterWhoseTypeQueryHangsIsReportedWithoutType) {
  TFakeDriveQueries fake = WithAHangingDrive();
  fake.Drives['B'].TypeBlocks = true;
  const TWatchdog watchdog(fake);
  const drive::TCommandResult table = RunReportCommand({"--timeout", "1"}, fake);
  EXPECT_EQ(table.Err, "sandrivo-report: Laufwerk B: hat nicht binnen 1 s geantwortet\r\n");
  EXPECT_NE(table.Out.find("\r\nB\r\nC;Festplatte;"), std::string::npos) << table.Out;
  const nlohmann::json one =
      nlohmann::json::parse(RunReportCommand({"--json", "--timeout=1", "B"}, fake).Out);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0]["letter"], "B");
  EXPECT_EQ(one[0]["type"], 0);
  EXPECT_TRUE(one[0]["typeName"].is_null());
  EXPECT_EQ(one[0]["answered"], false);
  EXPECT_EQ(one[0]["timedOut"], true);
}

TEST(ReportCommand, OneLetterAsksOnlyThatLetterAndTheTableTheLettersTheWindowLists) {
  TFakeDriveQueries fake;
  fake.Drives['C'] = FixedDrive(4096000, 1024000);
  fake.Drives['K'] = FixedDrive(4096000, 1024000);
  fake.Drives['K'].Type = DRIVE_REMOTE;
  const TCountingDrives drives(fake);
  // The probe asks the type once more.
  EXPECT_EQ(RunReportCommand({"k:"}, drives).ExitCode, 0);
  EXPECT_EQ(drives.Asked, "KK");
  drives.Asked.clear();
  EXPECT_EQ(RunReportCommand({"--json"}, drives).ExitCode, 0);
  // The type of every letter, as the window lists them, then the listed drives' probes; the
  // letters are asked side by side, in any order.
  std::string asked = drives.Asked;
  std::sort(asked.begin(), asked.end());
  EXPECT_EQ(asked, "ABCCDEFGHIJKKLMNOPQRSTUVWXYZ");
}

TEST(ReportCommand, JsonCarriesEveryFigureExactly) {
  TFakeDriveQueries fake;
  fake.Drives['A'] = FixedDrive(0, 0);
  fake.Drives['A'].Type = DRIVE_REMOVABLE;
  fake.Drives['A'].VolumeAnswers = false;
  const unsigned long long big = (1ull << 53) + 1;
  fake.Drives['C'] = FixedDrive(big, 12345);
  fake.Drives['C'].Volume.VolumeName = L"a\"b\\c\td\r\nGr\u00FC\u00DF";
  fake.Drives['D'] = FixedDrive(1ull << 63, (1ull << 62) + 3);
  fake.Drives['D'].FreeSpace->UserFreeBytes = (1ull << 63) - 1;
  fake.Drives['D'].Type = DRIVE_CDROM;

  const drive::TCommandResult result = RunReportCommand({"--json"}, fake);
  ASSERT_EQ(result.ExitCode, 0) << result.Err;
  EXPECT_EQ(result.Out.find('\r'), std::string::npos) << "LF line ends";
  const nlohmann::json document = nlohmann::json::parse(result.Out);
  ASSERT_TRUE(document.is_array());
  ASSERT_EQ(document.size(), 3u);

  const nlohmann::json& a = document[0];
  EXPECT_EQ(a["letter"], "A");
  EXPECT_EQ(a["type"], 2);
  EXPECT_EQ(a["typeName"], "Diskette");
  EXPECT_EQ(a["answered"], false);
  for (const char* key : {"volumeName", "serialNumber", "freeBytes", "usedPercent"})
    EXPECT_TRUE(a[key].is_null()) << key;

  for (size_t i = 1; i < 3; ++i) {
    const nlohmann::json& drive = document[i];
    const std::string letter = drive["letter"];
    const drive::TDriveInfo probe(letter[0], fake);
    EXPECT_EQ(drive["answered"], true);
    EXPECT_EQ(drive["type"], probe.DriveType);
    EXPECT_EQ(drive["fileSystem"], "NTFS");
    EXPECT_EQ(drive["serialNumber"], probe.SerialNumber);
    EXPECT_EQ(drive["maxNameLength"], probe.MaxNameLength);
    EXPECT_EQ(drive["sectorsPerCluster"], probe.SectorsPerCluster);
    EXPECT_EQ(drive["bytesPerSector"], probe.BytesPerSector);
    EXPECT_EQ(drive["freeClusters"], probe.FreeClusters);
    EXPECT_EQ(drive["totalClusters"], probe.TotalClusters);
    EXPECT_EQ(drive["totalBytes"].get<unsigned long long>(), probe.TotalBytes) << letter;
    EXPECT_EQ(drive["freeBytes"].get<unsigned long long>(), probe.FreeBytes) << letter;
    EXPECT_EQ(drive["userFreeBytes"].get<unsigned long long>(), probe.UserFreeBytes) << letter;
    EXPECT_EQ(drive["usedBytes"].get<unsigned long long>(), probe.TotalBytes - probe.FreeBytes);
  }
  EXPECT_EQ(document[1]["totalBytes"].get<unsigned long long>(), big) << "2^53 + 1 stays exact";
  EXPECT_EQ(document[2]["totalBytes"].get<unsigned long long>(), 1ull << 63);
  EXPECT_EQ(document[1]["volumeName"], "a\"b\\c\td\r\nGr\xC3\xBC\xC3\x9F") << "escaped, in UTF-8";
  EXPECT_EQ(document[2]["typeName"], "CD-ROM");
  // The percent with four decimals and a point, whatever the locale.
  EXPECT_NE(result.Out.find("\"usedPercent\": 50.0000"), std::string::npos) << result.Out;

  // One letter: an array with its one object.
  const nlohmann::json one = nlohmann::json::parse(RunReportCommand({"c", "--json"}, fake).Out);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0]["letter"], "C");
}

namespace {

// A label with everything that JSON escapes, umlauts and characters beyond code page 1252, one of
// them beyond the BMP.
const wchar_t kWholeLabel[] = L"B\u00FCcher \"\\\t\r\n\u0001-\u65E5\u672C-\U0001F600";

// Keeps what a console would show beside the bytes.
class TConsoleSink final : public drive::TOutputSink {
 public:
  bool Write(std::string_view bytes) override {
    Bytes.append(bytes);
    return true;
  }
  bool WriteText(std::string_view bytes, std::wstring_view text) override {
    Text.append(text);
    return Write(bytes);
  }
  bool Flush() override { return true; }
  std::string Bytes;
  std::wstring Text;
};

}  // namespace

TEST(ReportCommand, JsonCarriesNamesBeyondCodePage1252Whole) {
  TFakeDriveQueries fake;
  fake.Drives['C'] = FixedDrive(4096000, 1024000);
  fake.Drives['C'].Volume.VolumeName = kWholeLabel;
  fake.Drives['C'].Volume.FileSystem = L"\u03A9FS";

  const drive::TCommandResult result = RunReportCommand({"--json"}, fake);
  ASSERT_EQ(result.ExitCode, 0) << result.Err;
  EXPECT_EQ(result.Out.find('?'), std::string::npos) << result.Out;
  const nlohmann::json document = nlohmann::json::parse(result.Out);
  ASSERT_EQ(document.size(), 1u);
  EXPECT_EQ(runtime::WideFromUtf8(document[0]["volumeName"].get<std::string>()), kWholeLabel);
  EXPECT_EQ(runtime::WideFromUtf8(document[0]["fileSystem"].get<std::string>()), L"\u03A9FS");
  EXPECT_NE(result.Out.find("\\u0001"), std::string::npos) << "control characters escaped";

  // A console shows the same document.
  TConsoleSink out, err;
  EXPECT_EQ(drive::DeliverReport(result, out, err), 0);
  EXPECT_EQ(out.Bytes, result.Out);
  EXPECT_EQ(out.Text, runtime::WideFromUtf8(result.Out));
}

TEST(ReportCommand, AConsoleShowsNamesWholeWhereRedirectedOutputKeepsCodePage1252) {
  TFakeDriveQueries fake;
  fake.Drives['C'] = FixedDrive(4096000, 1024000);
  fake.Drives['C'].Volume.VolumeName = kWholeLabel;

  for (const std::vector<std::string>& args : {std::vector<std::string>{"C"}, std::vector<std::string>{}}) {
    const drive::TCommandResult result = RunReportCommand(args, fake);
    TConsoleSink out, err;
    ASSERT_EQ(drive::DeliverReport(result, out, err), 0);
    const std::wstring quoted = L"\"B\u00FCcher \"\"\\\t\r\n\u0001-\u65E5\u672C-\U0001F600\"";
    EXPECT_NE(out.Text.find(quoted), std::wstring::npos) << args.size();
    EXPECT_NE(out.Text.find(L"L\u00E4nge Dateiname"), std::wstring::npos)
        << "code page 1252 whatever the system's";
    // The bytes: the text in code page 1252, a '?' for each character it lacks.
    EXPECT_EQ(out.Bytes, runtime::Cp1252FromWide(out.Text));
    EXPECT_NE(out.Bytes.find("\"B\xFC"
                             "cher \"\"\\\t\r\n\x01-?"
                             "?-?"),
              std::string::npos)
        << out.Bytes;
  }
}

// Today's bytes, written out: a label that code page 1252 holds reaches the redirected report as
// its bytes.
TEST(ReportCommand, RedirectedBytesOfACodePage1252LabelStayAsTheyWere) {
  const std::string expected =
      "Laufwerksbuchstabe;C\r\n"
      "Laufwerkstyp;Festplatte\r\n"
      "Volume-Name;\"Gr\xFC\xDF"
      "e \"\"alt\"\";\x80\"\r\n"
      "Filesystem;NTFS\r\n"
      "Seriennummer;305441741\r\n"
      "Seriennummer (Hex);1234ABCD\r\n"
      "L\xE4nge Dateiname;255\r\n"
      "Sektoren/Cluster;8\r\n"
      "Bytes/Sektor;512\r\n"
      "Freie Cluster;250\r\n"
      "Cluster gesamt;1000\r\n"
      "frei (Bytes);1.024.000\r\n"
      "belegt (Bytes);3.072.000\r\n"
      "gesamt (Bytes);4.096.000\r\n"
      "frei f\xFCr Benutzer (Bytes);1.024.000\r\n"
      "belegt (%);75,0000\r\n";
  TFakeDriveQueries fake;
  fake.Drives['C'] = FixedDrive(4096000, 1024000);
  fake.Drives['C'].Volume.VolumeName = L"Gr\u00FC\u00DFe \"alt\";\u20AC";
  const drive::TCommandResult result = RunReportCommand({"C"}, fake);
  TLimitedSink out, err;
  ASSERT_EQ(drive::DeliverReport(result, out, err), 0);
  EXPECT_EQ(out.Text, expected);
}
