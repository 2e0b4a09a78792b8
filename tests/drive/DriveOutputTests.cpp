// Every output of a drive's fields (report, table rows, clipboard lines and table, JSON): as the files
// in "golden" beside the test executable hold them, and with a field added to a copy of the list.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "drive/DriveExport.h"
#include "drive/DriveHtml.h"
#include "drive/DriveInfo.h"
#include "drive/DriveJson.h"
#include "drive/DriveReport.h"
#include "runtime/Text.h"
#include "tests/support/ExecutableFolder.h"
#include "tests/support/FakeDriveQueries.h"

using testing_support::ExecutableFolder;
using testing_support::FixedDrive;
using testing_support::NoMedium;

namespace {

// Given, whatever the user's: ReportLocale tests that the user's are taken.
const runtime::TNumberSeparators kGerman{L".", L","};

std::string RowsText(const std::vector<drive::TDriveRow>& rows) {
  std::wstring text;
  for (const drive::TDriveRow& row : rows) text += row.Name + L"\t" + row.Value + L"\n";
  return runtime::Utf8FromWide(text);
}

// A: no medium; C: a labelled volume over 4 GB; D: a label beyond code page 1252; E: a label with ";"
// and quotes, an all-ones serial and a quota; F: no label and more free than total; G: a total of 0;
// M: type code 0, a file system beyond code page 1252; N: a drive that did not answer in time.
std::vector<drive::TDriveInfo> GoldenDrives() {
  testing_support::TFakeDriveQueries fake;
  fake.Drives['A'] = NoMedium(DRIVE_REMOVABLE);
  fake.Drives['C'] = FixedDrive(512110190592ull, 123456789012ull);
  fake.Drives['D'] = FixedDrive(734003200, 0);
  fake.Drives['D'].Type = DRIVE_CDROM;
  fake.Drives['D'].Volume.VolumeName = L"B\u00FCcher-\u65E5\u672C-\U0001F600";
  fake.Drives['E'] = FixedDrive(3000000000ull, 1000000000ull);
  fake.Drives['E'].Volume.VolumeName = L"Ton;Bild \"neu\"";
  fake.Drives['E'].Volume.SerialNumber = 0xFFFFFFFF;
  fake.Drives['E'].FreeSpace->UserFreeBytes = 250000000;
  fake.Drives['F'] = FixedDrive(1000000, 1048576);
  fake.Drives['F'].Type = DRIVE_REMOVABLE;
  fake.Drives['F'].Volume.VolumeName = L"";
  fake.Drives['G'] = FixedDrive(0, 0);
  fake.Drives['G'].Type = DRIVE_RAMDISK;
  fake.Drives['M'] = FixedDrive(4096000, 1024000);
  fake.Drives['M'].Type = DRIVE_UNKNOWN;
  fake.Drives['M'].Volume.FileSystem = L"\u0416FS";
  // What a spreadsheet would take for a number, a date or a formula.
  const std::pair<char, std::pair<const wchar_t*, DWORD>> lookAlikes[] = {
      {'H', {L"=1+1", 0x00012345}}, {'J', {L"007\t3,5", 0x1234E012}}, {'K', {L"1.2.2024", 0x0E000000}}};
  for (const auto& [letter, volume] : lookAlikes) {
    fake.Drives[letter] = FixedDrive(8192, 4096);
    fake.Drives[letter].Volume.VolumeName = volume.first;
    fake.Drives[letter].Volume.SerialNumber = volume.second;
  }
  fake.Drives['N'] = NoMedium(DRIVE_REMOTE);
  std::vector<drive::TDriveInfo> probes;
  for (const char letter : {'A', 'C', 'D', 'E', 'F', 'G', 'H', 'J', 'K', 'M', 'N'})
    probes.emplace_back(letter, fake);
  probes.back().TimedOut = true;
  return probes;
}

// Where a field was added: the text it follows, and its own.
struct TAdded {
  std::string After;
  std::string Piece;
};

// The text with each added piece taken out, found where it follows its text.
std::string Without(std::string text, const std::vector<TAdded>& added) {
  for (const TAdded& piece : added) {
    const size_t at = text.find(piece.After + piece.Piece);
    if (at == std::string::npos) {
      ADD_FAILURE() << "no \"" << piece.Piece << "\" after \"" << piece.After << "\" in\n" << text;
      continue;
    }
    text.erase(at + piece.After.size(), piece.Piece.size());
  }
  return text;
}

}  // namespace

// A mismatch leaves the output as "<file>.actual" beside the test executable.
TEST(DriveOutputs, AreAsTheGoldenFilesHoldThem) {
  const std::vector<drive::TDriveInfo> drives = GoldenDrives();
  std::vector<const drive::TDriveInfo*> probes;
  std::string report, rows;
  std::wstring lines;
  for (const drive::TDriveInfo& probe : drives) {
    probes.push_back(&probe);
    report += drive::CreateReport(probe, kGerman)->Text();
    rows += RowsText(drive::DriveRows(probe, kGerman)) + "\n";
    lines += drive::DriveInfoLines(probe, ';', kGerman).WideText();
  }
  const drive::TExportLines table = drive::DrivesTableLines(probes, ';', kGerman);
  const drive::TExportTable typed = drive::DrivesTable(probes, kGerman);
  const struct {
    const wchar_t* file;
    std::string output;
  } outputs[] = {{L"report.txt", report},
                 {L"rows.txt", rows},
                 {L"lines.txt", runtime::Cp1252FromWide(lines)},
                 {L"lines-wide.txt", runtime::Utf8FromWide(lines)},
                 {L"table.txt", table.Text()},
                 {L"table-wide.txt", runtime::Utf8FromWide(table.WideText())},
                 {L"drives.json", drive::DrivesJson(probes)},
                 {L"drives.csv", drive::CsvText(typed, L",")},
                 {L"drives.html", drive::HtmlDocument(typed, L"Laufwerke")},
                 {L"drive-J.html", drive::HtmlTable(drive::DriveInfoTable(*probes[7], kGerman))}};
  const std::wstring folder = ExecutableFolder();
  for (const auto& output : outputs) {
    std::ifstream file(std::filesystem::path(folder + L"golden\\" + output.file), std::ios::binary);
    const std::string expected(std::istreambuf_iterator<char>(file), {});
    ASSERT_FALSE(expected.empty()) << runtime::Utf8FromWide(output.file) << " is missing";
    if (output.output == expected) continue;
    std::ofstream(std::filesystem::path(folder + output.file + L".actual"), std::ios::binary)
        << output.output;
    ADD_FAILURE() << runtime::Utf8FromWide(output.file) << " differs";
  }
}

TEST(DriveOutputs, AFieldAddedToACopyOfTheListReachesEachInItsPlace) {
  std::vector<drive::TDriveField> fields(drive::DriveFields().begin(), drive::DriveFields().end());
  ASSERT_STREQ(fields[6].Key, "fileSystem");
  fields.insert(fields.begin() + 7,
                {"compression", L"Kompression", drive::TPresence::Answered, drive::TFieldKind::Flag,
                 [](const drive::TDriveInfo& probe) -> drive::TFieldValue {
                   return (probe.FileSystemFlags & FILE_FILE_COMPRESSION) != 0;
                 }});
  testing_support::TFakeDriveQueries fake;
  fake.Drives['A'] = NoMedium(DRIVE_REMOVABLE);
  fake.Drives['C'] = FixedDrive(4096000, 1024000);
  const drive::TDriveInfo a('A', fake), c('C', fake);
  const std::vector<const drive::TDriveInfo*> both{&a, &c};

  const struct {
    const char* output;
    std::string before, after;
    std::vector<TAdded> added;
  } outputs[] = {
      {"report",
       drive::CreateReport(c, kGerman)->Text(),
       drive::CreateReport(c, kGerman, fields)->Text(),
       {{"Filesystem=NTFS\r\n", "Kompression=ja\r\n"}}},
      {"rows",
       RowsText(drive::DriveRows(c, kGerman)),
       RowsText(drive::DriveRows(c, kGerman, fields)),
       {{"Filesystem\tNTFS\n", "Kompression\tja\n"}}},
      {"lines",
       runtime::Utf8FromWide(drive::DriveInfoLines(c, ';', kGerman).WideText()),
       runtime::Utf8FromWide(drive::DriveInfoLines(c, ';', kGerman, fields).WideText()),
       {{"Filesystem;NTFS\r\n", "Kompression;ja\r\n"}}},
      {"table",
       drive::DrivesTableLines(both, ';', kGerman).Text(),
       drive::DrivesTableLines(both, ';', kGerman, fields).Text(),
       {{"Filesystem", ";Kompression"}, {"DATEN;NTFS", ";ja"}}},
      {"JSON",
       drive::DrivesJson(both),
       drive::DrivesJson(both, fields),
       {{"\"fileSystem\": null,\n", "    \"compression\": null,\n"},
        {"\"fileSystem\": \"NTFS\",\n", "    \"compression\": true,\n"}}},
  };
  for (const auto& output : outputs)
    EXPECT_EQ(Without(output.after, output.added), output.before) << output.output;
}

TEST(DriveOutputs, JsonKeepsSurrogatePairsAndReplacesLoneHalves) {
  const struct {
    const wchar_t* text;
    const char* json;
  } cases[] = {
      {L"\U0001F600x", R"("\ud83d\ude00x")"},
      {L"x\xD83D", R"("x\ufffd")"},
      {L"\xDE00x", R"("\ufffdx")"},
      {L"\xD83D\xD83D\xDE00", R"("\ufffd\ud83d\ude00")"},
  };
  for (const auto& c : cases) EXPECT_EQ(drive::JsonString(c.text), c.json) << c.json;
}
