// Every output of a drive's fields (report, table rows, clipboard lines and table, JSON) for a set
// of drives that covers the fields' edge cases, against the files in "golden" beside the test
// executable. A mismatch leaves the output it got as "<name>.actual" beside the executable.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "drive/DriveExport.h"
#include "drive/DriveInfo.h"
#include "drive/DriveJson.h"
#include "drive/DriveReport.h"
#include "runtime/Text.h"
#include "tests/support/FakeDriveQueries.h"

using testing_support::FixedDrive;
using testing_support::NoMedium;
using testing_support::TFakeDriveQueries;

namespace {

std::wstring ExecutableFolder() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::string ReadFile(const std::wstring& path) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// A, C, ... N: no medium; a labelled volume over 4 GB; a label beyond code page 1252; a label with
// ";" and quotes, an all-ones serial and a quota; no label and more free than total; a total of 0;
// type code 0 with a file system beyond code page 1252; a drive that did not answer in time.
class TGoldenDrives {
 public:
  TGoldenDrives() {
    fake_.Drives['A'] = NoMedium(DRIVE_REMOVABLE);
    fake_.Drives['C'] = FixedDrive(512110190592ull, 123456789012ull);
    fake_.Drives['D'] = FixedDrive(734003200, 0);
    fake_.Drives['D'].Type = DRIVE_CDROM;
    fake_.Drives['D'].Volume.VolumeName = L"B\u00FCcher-\u65E5\u672C-\U0001F600";
    fake_.Drives['E'] = FixedDrive(3000000000ull, 1000000000ull);
    fake_.Drives['E'].Volume.VolumeName = L"Ton;Bild \"neu\"";
    fake_.Drives['E'].Volume.SerialNumber = 0xFFFFFFFF;
    fake_.Drives['E'].FreeSpace->UserFreeBytes = 250000000;
    fake_.Drives['F'] = FixedDrive(1000000, 1048576);
    fake_.Drives['F'].Type = DRIVE_REMOVABLE;
    fake_.Drives['F'].Volume.VolumeName = L"";
    fake_.Drives['G'] = FixedDrive(0, 0);
    fake_.Drives['G'].Type = DRIVE_RAMDISK;
    fake_.Drives['M'] = FixedDrive(4096000, 1024000);
    fake_.Drives['M'].Type = DRIVE_UNKNOWN;
    fake_.Drives['M'].Volume.FileSystem = L"\u0416FS";
    fake_.Drives['N'] = NoMedium(DRIVE_REMOTE);
    for (const char letter : {'A', 'C', 'D', 'E', 'F', 'G', 'M', 'N'})
      probes_.push_back(std::make_unique<drive::TDriveInfo>(letter, fake_));
    probes_.back()->TimedOut = true;
  }
  std::vector<const drive::TDriveInfo*> Probes() const {
    std::vector<const drive::TDriveInfo*> probes;
    for (const auto& probe : probes_) probes.push_back(probe.get());
    return probes;
  }

 private:
  TFakeDriveQueries fake_;
  std::vector<std::unique_ptr<drive::TDriveInfo>> probes_;
};

// Each drive's output, one after the other.
template <typename TOutput>
std::string EachDrive(const TGoldenDrives& drives, TOutput output) {
  std::string text;
  for (const drive::TDriveInfo* probe : drives.Probes()) text += output(*probe);
  return text;
}

}  // namespace

// German separators given, whatever the user's: ReportLocale tests that the user's are taken.
TEST(GoldenOutput, EveryOutputOfTheDrivesIsAsBefore) {
  const runtime::TNumberSeparators german{L".", L","};
  const TGoldenDrives drives;
  const auto probes = drives.Probes();
  const struct {
    const wchar_t* file;
    std::string output;
  } outputs[] = {
      {L"report.txt",
       EachDrive(drives,
                 [&](const drive::TDriveInfo& probe) { return drive::CreateReport(probe, german)->Text(); })},
      {L"rows.txt", EachDrive(drives,
                              [&](const drive::TDriveInfo& probe) {
                                std::wstring text;
                                for (const drive::TDriveRow& row : drive::DriveRows(probe, german))
                                  text += row.Name + L"\t" + row.Value + L"\n";
                                return runtime::Utf8FromWide(text + L"\n");
                              })},
      {L"lines.txt", EachDrive(drives,
                               [&](const drive::TDriveInfo& probe) {
                                 return drive::DriveInfoLines(probe, ';', german).Text();
                               })},
      {L"lines-wide.txt", EachDrive(drives,
                                    [&](const drive::TDriveInfo& probe) {
                                      return runtime::Utf8FromWide(
                                          drive::DriveInfoLines(probe, ';', german).WideText());
                                    })},
      {L"table.txt", drive::DrivesTableLines(probes, ';', german).Text()},
      {L"table-wide.txt", runtime::Utf8FromWide(drive::DrivesTableLines(probes, ';', german).WideText())},
      {L"drives.json", drive::DrivesJson(probes)},
  };
  const std::wstring folder = ExecutableFolder();
  for (const auto& output : outputs) {
    const std::wstring path = folder + L"golden\\" + output.file;
    const std::string expected = ReadFile(path);
    ASSERT_FALSE(expected.empty()) << runtime::Utf8FromWide(path) << " is missing";
    if (output.output == expected) continue;
    const std::wstring actual = folder + output.file + L".actual";
    std::ofstream(std::filesystem::path(actual), std::ios::binary) << output.output;
    ADD_FAILURE() << runtime::Utf8FromWide(output.file) << " differs from " << runtime::Utf8FromWide(actual);
  }
}
