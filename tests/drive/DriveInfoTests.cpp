// The drive probe and its report against drives that the fake answers for.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drive/DriveInfo.h"
#include "drive/DriveList.h"
#include "drive/DriveReport.h"
#include "drive/NumberFormat.h"
#include "runtime/Text.h"
#include "tests/support/FakeDriveQueries.h"

using drive::TDriveInfo;
using testing_support::FixedDrive;
using testing_support::TFakeDrive;
using testing_support::TFakeDriveQueries;

namespace {

const std::vector<std::string> kAllRowNames = {
    "Laufwerksbuchstabe", "Laufwerkstyp",     "Volume-Name",
    "Filesystem",         "Seriennummer",     "Seriennummer (Hex)",
    "Länge Dateiname",    "Sektoren/Cluster", "Bytes/Sektor",
    "Freie Cluster",      "Cluster gesamt",   "frei (Bytes)",
    "belegt (Bytes)",     "gesamt (Bytes)",   "frei für Benutzer (Bytes)",
    "belegt (%)"};

std::vector<std::string> Names(const drive::TPairStringList& report) {
  std::vector<std::string> names;
  for (int i = 0; i < report.Count(); ++i) names.push_back(report.NameAt(i));
  return names;
}

std::string ValueOf(const drive::TPairStringList& report, const std::string& name) {
  for (int i = 0; i < report.Count(); ++i)
    if (report.NameAt(i) == name) return report.ValueAt(i);
  ADD_FAILURE() << "no row " << name;
  return "";
}

// The report's formats with the separators in force while the test runs.
std::string Whole(long long value) {
  return runtime::Cp1252FromWide(drive::FormatWholeNumber(value, runtime::UserNumberSeparators()));
}

}  // namespace

TEST(DriveTypeName, NamesTheFiveTypesAndNothingElse) {
  EXPECT_EQ(drive::DriveTypeName(2), L"Diskette");
  EXPECT_EQ(drive::DriveTypeName(3), L"Festplatte");
  EXPECT_EQ(drive::DriveTypeName(4), L"Netzlaufwerk");
  EXPECT_EQ(drive::DriveTypeName(5), L"CD-ROM");
  EXPECT_EQ(drive::DriveTypeName(6), L"RAM-Disk");
  for (UINT code : {0u, 1u, 7u, 0xFFFFFFFFu}) EXPECT_EQ(drive::DriveTypeName(code), L"") << code;
}

TEST(DriveProbe, FixedDriveFillsEveryFieldAndTheReportHasSixteenRows) {
  TFakeDriveQueries fake;
  fake.Drives['C'] = FixedDrive(1000ull * 4096, 250ull * 4096);
  const TDriveInfo probe('C', fake);

  EXPECT_EQ(probe.Letter, 'C');
  EXPECT_EQ(probe.DriveType, 3u);
  EXPECT_EQ(probe.TypeName, L"Festplatte");
  EXPECT_FALSE(probe.VolumeFailed);
  EXPECT_EQ(probe.VolumeName, L"DATEN");
  EXPECT_EQ(probe.FileSystem, L"NTFS");
  EXPECT_EQ(probe.SerialNumber, 0x1234ABCDu);
  EXPECT_EQ(probe.FileSystemFlags, 0x3E700FFu);
  EXPECT_EQ(probe.MaxNameLength, 255u);
  EXPECT_EQ(probe.SectorsPerCluster, 8u);
  EXPECT_EQ(probe.BytesPerSector, 512u);
  EXPECT_EQ(probe.FreeClusters, 250u);
  EXPECT_EQ(probe.TotalClusters, 1000u);
  EXPECT_EQ(probe.TotalBytes, 4096000u);
  EXPECT_EQ(probe.FreeBytes, 1024000u);
  EXPECT_EQ(probe.UserFreeBytes, probe.FreeBytes);
  EXPECT_EQ(probe.UsedBytes(), 3072000);

  const auto report = probe.CreateReport();
  EXPECT_EQ(Names(*report), kAllRowNames);
  EXPECT_EQ((*report)[0], "Laufwerksbuchstabe=C");
  EXPECT_EQ((*report)[1], "Laufwerkstyp=Festplatte");
  EXPECT_EQ((*report)[2], "Volume-Name=DATEN");
  EXPECT_EQ((*report)[3], "Filesystem=NTFS");
  EXPECT_EQ((*report)[4], "Seriennummer=305441741");
  EXPECT_EQ((*report)[5], "Seriennummer (Hex)=1234ABCD");
  EXPECT_EQ((*report)[6], "Länge Dateiname=255");
  EXPECT_EQ((*report)[7], "Sektoren/Cluster=8");
  EXPECT_EQ((*report)[8], "Bytes/Sektor=512");
  EXPECT_EQ((*report)[9], "Freie Cluster=250");
  EXPECT_EQ((*report)[10], "Cluster gesamt=1000");
  EXPECT_EQ(report->ValueAt(11), Whole(1024000));
  EXPECT_EQ(report->ValueAt(12), Whole(3072000));
  EXPECT_EQ(report->ValueAt(13), Whole(4096000));
  EXPECT_EQ(report->ValueAt(14), Whole(1024000));
  EXPECT_EQ(report->ValueAt(15),
            runtime::Cp1252FromWide(drive::FormatFourDecimals(75, runtime::UserNumberSeparators())));
}

TEST(DriveProbe, DriveWithoutMediumGivesTwoRowsAndAsksNothingMore) {
  TFakeDriveQueries fake;
  TFakeDrive floppy;
  floppy.Type = DRIVE_REMOVABLE;
  floppy.VolumeAnswers = false;
  floppy.Clusters = {1, 512, 100, 2880};  // must not be asked for
  floppy.FreeSpace = drive::TFreeSpaceAnswer{1, 2, 3};
  fake.Drives['A'] = floppy;

  const TDriveInfo probe('A', fake);
  EXPECT_TRUE(probe.VolumeFailed);
  EXPECT_EQ(probe.TypeName, L"Diskette");
  EXPECT_EQ(fake.ClusterQueries, 0);
  EXPECT_EQ(fake.FreeSpaceQueries, 0);
  EXPECT_EQ(probe.TotalBytes, 0u);
  EXPECT_EQ(probe.FreeBytes, 0u);
  EXPECT_EQ(probe.UserFreeBytes, 0u);
  EXPECT_EQ(probe.TotalClusters, 0u);
  EXPECT_EQ(probe.VolumeName, L"");
  EXPECT_EQ(probe.FileSystem, L"");

  const auto report = probe.CreateReport();
  ASSERT_EQ(report->Count(), 2);
  EXPECT_EQ((*report)[0], "Laufwerksbuchstabe=A");
  EXPECT_EQ((*report)[1], "Laufwerkstyp=Diskette");
}

TEST(DriveProbe, TypeCodesWithoutNameShapeTheReport) {
  TFakeDriveQueries fake;
  TFakeDrive unknown = FixedDrive(4096, 0);
  unknown.Type = DRIVE_UNKNOWN;
  fake.Drives['E'] = unknown;
  TFakeDrive noRoot;
  noRoot.Type = DRIVE_NO_ROOT_DIR;
  noRoot.VolumeAnswers = false;
  fake.Drives['Q'] = noRoot;

  const auto unknownReport = TDriveInfo('E', fake).CreateReport();
  EXPECT_EQ(unknownReport->Count(), 15);
  EXPECT_EQ(unknownReport->NameAt(1), "Volume-Name");

  // Type 1 has a row of its own, with an empty name.
  const TDriveInfo noRootProbe('Q', fake);
  EXPECT_EQ(noRootProbe.TypeName, L"");
  const auto noRootReport = noRootProbe.CreateReport();
  ASSERT_EQ(noRootReport->Count(), 2);
  EXPECT_EQ((*noRootReport)[1], "Laufwerkstyp=");
}

TEST(DriveProbe, SerialNumbersStayUnsigned) {
  TFakeDriveQueries fake;
  fake.Drives['C'] = FixedDrive(4096, 0);
  fake.Drives['C'].Volume.SerialNumber = 0xFFFFFFFF;
  fake.Drives['D'] = FixedDrive(4096, 0);
  fake.Drives['D'].Volume.SerialNumber = 0;

  const auto all = TDriveInfo('C', fake).CreateReport();
  EXPECT_EQ(ValueOf(*all, "Seriennummer"), "4294967295");
  EXPECT_EQ(ValueOf(*all, "Seriennummer (Hex)"), "FFFFFFFF");
  const auto none = TDriveInfo('D', fake).CreateReport();
  EXPECT_EQ(ValueOf(*none, "Seriennummer"), "0");
  EXPECT_EQ(ValueOf(*none, "Seriennummer (Hex)"), "00000000");
}

TEST(DriveProbe, LabelsAreReportedAsTheyAre) {
  TFakeDriveQueries fake;
  fake.Drives['C'] = FixedDrive(4096, 0);
  fake.Drives['C'].Volume.VolumeName = L"A=B=C";
  fake.Drives['D'] = FixedDrive(4096, 0);
  fake.Drives['D'].Volume.VolumeName = L"";

  const auto withEquals = TDriveInfo('C', fake).CreateReport();
  EXPECT_EQ(withEquals->NameAt(2), "Volume-Name");
  EXPECT_EQ(withEquals->ValueAt(2), "A=B=C");

  const auto empty = TDriveInfo('D', fake).CreateReport();
  EXPECT_EQ(empty->Count(), 16);
  EXPECT_EQ((*empty)[2], "Volume-Name=");
}

TEST(DriveProbe, QuotasShowInTheUserRow) {
  TFakeDriveQueries fake;
  fake.Drives['C'] = FixedDrive(8000000, 6000000);
  fake.Drives['C'].FreeSpace->UserFreeBytes = 1000000;
  const TDriveInfo probe('C', fake);
  EXPECT_EQ(probe.FreeBytes, 6000000u);
  EXPECT_EQ(probe.UserFreeBytes, 1000000u);
  const auto report = probe.CreateReport();
  EXPECT_EQ(report->ValueAt(11), Whole(6000000));
  EXPECT_EQ(report->ValueAt(14), Whole(1000000));
}

TEST(DriveProbe, LargeVolumesKeepExactByteCounts) {
  TFakeDriveQueries fake;
  // 2 TiB + 1 byte: far beyond 32 bits.
  fake.Drives['C'] = FixedDrive((1ull << 41) + 1, 1ull << 40);
  // 2^53 + 1 bytes: beyond what a double holds exactly.
  fake.Drives['D'] = FixedDrive((1ull << 53) + 1, 1ull << 52);
  const runtime::TNumberSeparators german{L".", L","};

  const auto big = drive::CreateReport(TDriveInfo('C', fake), german);
  EXPECT_EQ(big->ValueAt(12), "1.099.511.627.777");
  EXPECT_EQ(big->ValueAt(13), "2.199.023.255.553");
  const auto huge = drive::CreateReport(TDriveInfo('D', fake), german);
  EXPECT_EQ(huge->ValueAt(12), "4.503.599.627.370.497");
  EXPECT_EQ(huge->ValueAt(13), "9.007.199.254.740.993");
  EXPECT_EQ(huge->ValueAt(15), "50,0000");
}

TEST(DriveProbe, WithoutTheLargeQueryTheClusterProductsDoNotWrap) {
  TFakeDriveQueries fake;
  TFakeDrive old = FixedDrive(0, 0);
  old.FreeSpace.reset();
  // 64 sectors of 512 bytes, 3,000,000 clusters: 98,304,000,000 bytes, far beyond 2^32.
  old.Clusters = {64, 512, 1000000, 3000000};
  fake.Drives['C'] = old;

  const TDriveInfo probe('C', fake);
  EXPECT_EQ(fake.FreeSpaceQueries, 1);
  EXPECT_EQ(probe.TotalBytes, 98304000000u);
  EXPECT_EQ(probe.FreeBytes, 32768000000u);
  EXPECT_EQ(probe.UserFreeBytes, probe.FreeBytes);
}

TEST(DriveProbe, VolumeWithoutTotalShowsZeroPercent) {
  TFakeDriveQueries fake;
  // The large query exists but failed: the query layer gives zeros.
  TFakeDrive failed = FixedDrive(0, 0);
  failed.FreeSpace = drive::TFreeSpaceAnswer{};
  fake.Drives['C'] = failed;

  const TDriveInfo probe('C', fake);
  EXPECT_EQ(probe.TotalBytes, 0u);
  EXPECT_EQ(probe.UsedPercent(), 0.0);
  const auto report = probe.CreateReport();
  ASSERT_EQ(report->Count(), 16);
  const runtime::TNumberSeparators now = runtime::UserNumberSeparators();
  EXPECT_EQ(report->ValueAt(15), runtime::Cp1252FromWide(L"0" + now.Decimal + L"0000"));
  EXPECT_EQ(report->ValueAt(13), "0");
}

TEST(DriveProbe, LowerCaseLetterIsStoredUpperCase) {
  TFakeDriveQueries fake;
  fake.Drives['C'] = FixedDrive(4096, 0);
  const TDriveInfo probe('c', fake);
  EXPECT_EQ(probe.Letter, 'C');
  EXPECT_EQ(probe.DriveType, 3u);
}

TEST(DriveReport, IsIndependentOfTheProbe) {
  TFakeDriveQueries fake;
  fake.Drives['C'] = FixedDrive(4096, 0);
  auto probe = std::make_unique<TDriveInfo>('C', fake);
  const auto first = probe->CreateReport();
  const auto second = probe->CreateReport();
  EXPECT_NE(first.get(), second.get());
  probe.reset();
  EXPECT_EQ(first->NameAt(0), "Laufwerksbuchstabe");
  EXPECT_EQ(first->Text(), second->Text());
}
