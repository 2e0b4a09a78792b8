// The probe against the drives of the Wine prefix, checked against independent system calls. The
// test command adds a CD-ROM and a diskette drive whose media are missing, a drive with a label
// beyond code page 1252, and names a free letter.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "drive/DriveInfo.h"
#include "drive/DriveReport.h"
#include "runtime/Text.h"

namespace {

char LetterFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value && value[0] ? value[0] : 0;
}

std::string Root(char letter) {
  return std::string(1, letter) + ":\\";
}

bool VolumeAnswers(char letter) {
  char name[256], fs[256];
  DWORD serial, length, flags;
  return GetVolumeInformationA(Root(letter).c_str(), name, sizeof(name), &serial, &length, &flags, fs,
                               sizeof(fs)) != FALSE;
}

// The digits of a grouped whole number, whatever the separator.
unsigned long long Digits(const std::string& text) {
  unsigned long long value = 0;
  for (char c : text)
    if (c >= '0' && c <= '9') value = value * 10 + static_cast<unsigned>(c - '0');
  return value;
}

}  // namespace

TEST(SystemDrives, DriveCAnswersLikeTheSystem) {
  const drive::TDriveInfo probe('C');
  ASSERT_EQ(probe.DriveType, static_cast<DWORD>(GetDriveTypeA("C:\\")));
  EXPECT_EQ(probe.DriveType, static_cast<DWORD>(DRIVE_FIXED));
  ASSERT_FALSE(probe.VolumeFailed);

  wchar_t name[MAX_PATH + 1] = L"", fs[MAX_PATH + 1] = L"";
  DWORD serial = 0, length = 0, flags = 0;
  ASSERT_TRUE(GetVolumeInformationW(L"C:\\", name, MAX_PATH + 1, &serial, &length, &flags, fs, MAX_PATH + 1));
  EXPECT_EQ(probe.VolumeName, name);
  EXPECT_EQ(probe.FileSystem, fs);
  EXPECT_EQ(probe.SerialNumber, serial);
  EXPECT_EQ(probe.MaxNameLength, length);
  ULARGE_INTEGER user{}, total{}, free{};
  ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &user, &total, &free));
  EXPECT_EQ(probe.TotalBytes, total.QuadPart);
  EXPECT_GT(probe.TotalBytes, 4294967296u) << "the test machine's disk is larger than 4 GB";

  const auto report = probe.CreateReport();
  ASSERT_EQ(report->Count(), 16);
  EXPECT_EQ(report->ValueAt(1), "Festplatte");
  EXPECT_EQ(report->ValueAt(4), std::to_string(serial));
  char hex[9];
  std::snprintf(hex, sizeof(hex), "%08lX", serial);
  EXPECT_EQ(report->ValueAt(5), hex);
  EXPECT_EQ(Digits(report->ValueAt(11)) + Digits(report->ValueAt(12)), Digits(report->ValueAt(13)));
  EXPECT_EQ(Digits(report->ValueAt(13)), total.QuadPart);
}

TEST(SystemDrives, EveryLetterGivesAWholeReportOrAShortOne) {
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const drive::TDriveInfo probe(letter);
    const auto report = probe.CreateReport();
    const bool answers = VolumeAnswers(letter);
    EXPECT_EQ(!probe.VolumeFailed, answers) << letter;
    const int expected = (answers ? 16 : 2) - (probe.DriveType == 0 ? 1 : 0);
    EXPECT_EQ(report->Count(), expected) << letter;
    EXPECT_EQ(report->ValueAt(0), std::string(1, letter));
  }
}

TEST(SystemDrives, DrivesWithoutMedium) {
  const char cdrom = LetterFromEnvironment("SANDRIVO_TEST_CDROM");
  const char floppy = LetterFromEnvironment("SANDRIVO_TEST_FLOPPY");
  if (!cdrom || !floppy) GTEST_SKIP() << "the test command adds these drives";
  const struct {
    char letter;
    DWORD type;
    const char* name;
  } drives[] = {{cdrom, DRIVE_CDROM, "CD-ROM"}, {floppy, DRIVE_REMOVABLE, "Diskette"}};
  for (const auto& drive : drives) {
    const drive::TDriveInfo probe(drive.letter);
    EXPECT_EQ(probe.DriveType, drive.type) << drive.letter;
    EXPECT_EQ(probe.TypeName, runtime::WideFromCp1252(drive.name));
    const auto report = probe.CreateReport();
    EXPECT_EQ(report->ValueAt(1), drive.name);
    if (probe.VolumeFailed) {
      EXPECT_EQ(report->Count(), 2) << drive.letter;
    } else {
      // Wine answers the volume query for a drive whose medium is missing, with no space at all:
      // the percentage row must still be a number.
      ASSERT_EQ(report->Count(), 16) << drive.letter;
      EXPECT_EQ(probe.TotalBytes, 0u);
      EXPECT_EQ(Digits(report->ValueAt(15)), 0u);
      EXPECT_EQ(report->ValueAt(15).size(), 6u) << report->ValueAt(15);
    }
  }
}

TEST(SystemDrives, FreeLetterHasNoRootDirectory) {
  const char free = LetterFromEnvironment("SANDRIVO_TEST_NODRIVE");
  if (!free) GTEST_SKIP() << "the test command names a free letter";
  const drive::TDriveInfo probe(free);
  EXPECT_EQ(probe.DriveType, static_cast<DWORD>(DRIVE_NO_ROOT_DIR));
  EXPECT_EQ(probe.TypeName, L"");
  EXPECT_TRUE(probe.VolumeFailed);
  const auto report = probe.CreateReport();
  ASSERT_EQ(report->Count(), 2);
  EXPECT_EQ((*report)[1], "Laufwerkstyp=");
}

// A real drive whose label is beyond code page 1252 (the test command gives it one): the probe has
// it whole, the single-byte form has '?' for what code page 1252 lacks.
TEST(SystemDrives, ALabelBeyondCodePage1252ArrivesWhole) {
  const char letter = LetterFromEnvironment("SANDRIVO_TEST_LABELLED");
  if (!letter) GTEST_SKIP() << "the test command adds this drive";
  const drive::TDriveInfo probe(letter);
  ASSERT_FALSE(probe.VolumeFailed);
  EXPECT_EQ(probe.VolumeName, L"B\u00FCcher-\u65E5\u672C-\U0001F600")
      << "Wine's services read the label file in their Unix locale: the test command starts them "
         "under a UTF-8 one";
  const auto report = probe.CreateReport();
  ASSERT_GT(report->Count(), 2);
  EXPECT_EQ(report->NameAt(2), "Volume-Name");
  EXPECT_EQ(report->ValueAt(2).substr(0, 9),
            "B\xFC"
            "cher-??");
  const std::vector<drive::TDriveRow> rows = drive::DriveRows(probe);
  ASSERT_GT(rows.size(), 2u);
  EXPECT_EQ(rows[2].Name, L"Volume-Name");
  EXPECT_EQ(rows[2].Value, probe.VolumeName);
}
