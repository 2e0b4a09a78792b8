// A drive's details: the recorded answers of real devices read into rows, answers a device may give
// short or malformed, the console report's --details against golden files, and Wine's own answers.
#include <gtest/gtest.h>

#include <windows.h>

#include <winioctl.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "drive/DetailFields.h"
#include "drive/DetailsRequest.h"
#include "drive/DriveReport.h"
#include "drive/ReportCommand.h"
#include "drive/StorageDetails.h"
#include "runtime/Text.h"
#include "tests/support/ExecutableFolder.h"
#include "tests/support/FakeStorageQueries.h"

using testing_support::TFakeDriveQueries;
using testing_support::TFakeStorageQueries;

namespace {

const runtime::TNumberSeparators kGerman{L".", L","};

// The detail rows of a recorded drive, by name.
std::map<std::wstring, std::wstring> DetailRows(char letter) {
  TFakeDriveQueries drives;
  TFakeStorageQueries storage;
  testing_support::AddRecordedDrives(drives, storage);
  std::map<std::wstring, std::wstring> rows;
  for (const drive::TDriveRow& row :
       drive::DriveRows(*drive::DetailedProbe(letter, drives, storage), kGerman, drive::DetailFields()))
    rows[row.Name] = row.Value;
  return rows;
}

std::string Golden(const wchar_t* name) {
  std::ifstream file(std::filesystem::path(testing_support::ExecutableFolder() + L"golden\\" + name),
                     std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

}  // namespace

TEST(RecordedDevices, ShowTheirMediumBusAlignmentAndWhatElseTheyAnswer) {
  const wchar_t* const none = nullptr;  // no row
  const struct {
    char letter;
    const wchar_t *medium, *bus, *aligned, *style, *trim, *vendor, *share;
  } devices[] = {
      {'C', L"Halbleiter (ohne Suchzeit)", L"NVMe", L"ja", L"GPT", L"ja", L"NVMe", none},
      {'D', L"Halbleiter (ohne Suchzeit)", L"SATA", L"ja", L"GPT", L"ja", none, none},
      {'E', L"Halbleiter (ohne Suchzeit)", L"USB", L"ja", L"MBR", none, L"SanDisk", none},
      {'F', L"rotierend (mit Suchzeit)", L"SATA", L"nein", L"MBR", L"nein", none, none},
      {'S', none, none, none, none, none, none, L"\\\\fileserver\\daten"},
      {'R', none, none, none, none, none, none, none},
  };
  for (const auto& d : devices) {
    const std::map<std::wstring, std::wstring> rows = DetailRows(d.letter);
    const std::pair<const wchar_t*, const wchar_t*> expected[] = {
        {L"Medium", d.medium},         {L"Bus", d.bus},   {L"Beginn auf 1 MiB ausgerichtet", d.aligned},
        {L"Partitionsstil", d.style},  {L"TRIM", d.trim}, {L"Hersteller", d.vendor},
        {L"Netzwerkfreigabe", d.share}};
    for (const auto& [name, value] : expected) {
      const auto found = rows.find(name);
      if (!value) {
        EXPECT_EQ(found, rows.end()) << d.letter << ": " << runtime::Utf8FromWide(name);
      } else {
        ASSERT_NE(found, rows.end()) << d.letter << ": no " << runtime::Utf8FromWide(name);
        EXPECT_EQ(found->second, value) << d.letter << ": " << runtime::Utf8FromWide(name);
      }
    }
  }
  EXPECT_TRUE(DetailRows('R').empty()) << "a drive that refuses every query holds nothing";
  EXPECT_EQ(DetailRows('S')[L"Kontingent begrenzt Benutzer"], L"ja");
  EXPECT_EQ(DetailRows('F')[L"Seriennummer des Geräts"], L"WD-WCC6Y1234567") << "without its padding";
  EXPECT_EQ(DetailRows('C')[L"Bereitstellungspunkte"], L"C:\\, D:\\Daten\\System\\");
}

TEST(DeviceAnswers, ShortOrMalformedOnesGiveNothing) {
  STORAGE_DEVICE_DESCRIPTOR header{};
  header.Version = header.Size = sizeof(header) + 4;
  header.BusType = BusTypeUsb;
  header.ProductIdOffset = sizeof(header);
  std::vector<BYTE> whole(reinterpret_cast<const BYTE*>(&header), reinterpret_cast<const BYTE*>(&header + 1));
  whole.insert(whole.end(), {'A', 'B', 'C', 0});
  std::vector<BYTE> unended = whole;
  unended.back() = 'D';
  std::vector<BYTE> blank = whole;
  std::fill(blank.end() - 4, blank.end() - 1, ' ');
  std::vector<BYTE> shortSize = whole;  // texts beyond the size the device gives are not its own
  reinterpret_cast<STORAGE_DEVICE_DESCRIPTOR*>(shortSize.data())->Size = sizeof(header);
  std::vector<BYTE> outside = whole;
  reinterpret_cast<STORAGE_DEVICE_DESCRIPTOR*>(outside.data())->ProductIdOffset = 4096;
  const struct {
    const char* what;
    std::vector<BYTE> bytes;
    std::optional<DWORD> bus;
    std::optional<std::wstring> product;
  } descriptors[] = {
      {"whole", whole, BusTypeUsb, L"ABC"},
      {"text to the end without a zero", unended, BusTypeUsb, L"ABCD"},
      {"blanks only", blank, BusTypeUsb, std::nullopt},
      {"size short of the texts", shortSize, BusTypeUsb, std::nullopt},
      {"offset outside", outside, BusTypeUsb, std::nullopt},
      {"short of the header", std::vector<BYTE>(whole.begin(), whole.begin() + 20), std::nullopt,
       std::nullopt},
      {"none", {}, std::nullopt, std::nullopt},
  };
  for (const auto& d : descriptors) {
    drive::TStorageDetails details;
    drive::ReadDeviceDescriptor(d.bytes, details);
    EXPECT_EQ(details.BusType, d.bus) << d.what;
    EXPECT_EQ(details.Product, d.product) << d.what;
  }
  EXPECT_EQ(drive::ReadSeekPenalty(std::vector<BYTE>(7, 1)), std::nullopt) << "one byte short";

  drive::TStorageDetails cdrom;
  const STORAGE_DEVICE_NUMBER cdromNumber{FILE_DEVICE_CD_ROM, 0, static_cast<DWORD>(-1)};
  drive::ReadDeviceNumber({reinterpret_cast<const BYTE*>(&cdromNumber), sizeof(cdromNumber)}, cdrom);
  EXPECT_EQ(cdrom.DiskNumber, std::nullopt) << "a CD-ROM's number is no disk number";

  // A volume spanning two disks has no one disk, offset or length.
  std::vector<BYTE> two(sizeof(VOLUME_DISK_EXTENTS) + sizeof(DISK_EXTENT));
  auto* extents = reinterpret_cast<VOLUME_DISK_EXTENTS*>(two.data());
  extents->NumberOfDiskExtents = 2;
  drive::TStorageDetails spanned;
  drive::ReadDiskExtents(two, spanned);
  EXPECT_EQ(spanned.DiskNumber, std::nullopt);
  extents->NumberOfDiskExtents = 1;
  extents->Extents[0].DiskNumber = 5;
  extents->Extents[0].StartingOffset.QuadPart = 4096;
  drive::ReadDiskExtents(two, spanned);
  EXPECT_EQ(spanned.DiskNumber, 5u);
  EXPECT_EQ(spanned.PartitionOffset, 4096u);
}

TEST(ReportDetails, AreAsTheGoldenFilesHoldThem) {
  TFakeDriveQueries drives;
  TFakeStorageQueries storage;
  testing_support::AddRecordedDrives(drives, storage);
  std::string lines;
  for (const char* letter : {"C", "D", "E", "F", "R", "S"})
    lines += drive::RunReportCommand({"--details", letter}, drives, {}, storage).Out;
  const struct {
    const wchar_t* file;
    std::string output;
  } outputs[] = {
      {L"details-lines.txt", lines},
      {L"details-table.txt", drive::RunReportCommand({"--details"}, drives, {}, storage).Out},
      {L"details.json", drive::RunReportCommand({"--json", "--details"}, drives, {}, storage).Out}};
  for (const auto& output : outputs) {
    if (output.output == Golden(output.file)) continue;
    std::ofstream(std::filesystem::path(testing_support::ExecutableFolder() + output.file + L".actual"),
                  std::ios::binary)
        << output.output;
    ADD_FAILURE() << runtime::Utf8FromWide(output.file) << " differs or is missing";
  }
}

TEST(ReportDetails, JsonHoldsThemInAnObjectPerDriveAndNothingChangesWithoutThem) {
  TFakeDriveQueries drives;
  TFakeStorageQueries storage;
  testing_support::AddRecordedDrives(drives, storage);
  const auto detailed =
      nlohmann::json::parse(drive::RunReportCommand({"--json", "--details"}, drives, {}, storage).Out);
  const auto plain = nlohmann::json::parse(drive::RunReportCommand({"--json"}, drives, {}, storage).Out);
  ASSERT_EQ(detailed.size(), plain.size());
  for (size_t i = 0; i < plain.size(); ++i) {
    auto without = detailed[i];
    without.erase("details");
    EXPECT_EQ(without, plain[i]) << "drive " << i;
  }
  EXPECT_EQ(detailed[0]["details"]["volumeGuidPath"],
            "\\\\?\\Volume{3f2504e0-4f89-11d3-9a0c-0305e82c3301}\\");
  EXPECT_EQ(detailed[0]["details"]["mountPoints"][1], "D:\\Daten\\System\\");
  EXPECT_EQ(detailed[0]["details"]["partitionOffset"], 117u << 20);
  EXPECT_TRUE(detailed[4]["details"]["volumeGuidPath"].is_null()) << "R: refuses";
  // Without --details no storage query is asked at all.
  const int asked = storage.ControlQueries;
  for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"--json"}, {"C"}})
    drive::RunReportCommand(args, drives, {}, storage);
  EXPECT_EQ(storage.ControlQueries, asked);
}

TEST(SystemDetails, WineAnswersTheGuidPathMountPointsAndAMappedShare) {
  const drive::TStorageDetails c = drive::AskStorageDetails('C', DRIVE_FIXED, drive::SystemStorageQueries());
  ASSERT_TRUE(c.VolumeGuidPath);
  EXPECT_EQ(c.VolumeGuidPath->rfind(L"\\\\?\\Volume{", 0), 0u) << runtime::Utf8FromWide(*c.VolumeGuidPath);
  EXPECT_TRUE(c.VolumeGuidPath->ends_with(L"}\\"));
  EXPECT_NE(std::find(c.MountPoints.begin(), c.MountPoints.end(), L"C:\\"), c.MountPoints.end());
  const char* share = std::getenv("SANDRIVO_TEST_SHARE");
  if (!share || !share[0]) GTEST_SKIP() << "the test command maps a share";
  ASSERT_EQ(GetDriveTypeA((std::string(1, share[0]) + ":\\").c_str()), static_cast<UINT>(DRIVE_REMOTE));
  EXPECT_EQ(drive::AskStorageDetails(share[0], DRIVE_REMOTE, drive::SystemStorageQueries()).Share,
            L"\\\\server\\share");
}
