// The drive probe: asks the system, when created, everything the program shows about one drive,
// and keeps the answers until it is freed. It is never refreshed.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "drive/DriveQueries.h"
#include "drive/PairStringList.h"

namespace drive {

// A report row whose texts are whole.
struct TWideRow {
  std::wstring Name;
  std::wstring Value;
};

// Display name of a drive-type code; empty for a code without one (0, 1, above 6).
std::string DriveTypeName(UINT code);

class TDriveInfo {
 public:
  explicit TDriveInfo(char letter, const TDriveQueries& queries = SystemDriveQueries());

  // Eight upper-case hexadecimal digits.
  std::string SerialHex() const;
  double UsedBytes() const { return TotalBytes - FreeBytes; }
  // UsedBytes() * 100 / TotalBytes; 0 for a volume that reports no total, never a division by zero.
  double UsedPercent() const;
  // The drive report: a new list that the caller owns.
  std::unique_ptr<TPairStringList> CreateReport() const;
  // The same rows with the names as the system gives them, for outputs that carry any text.
  std::vector<TWideRow> CreateWideReport() const;

  char Letter;
  DWORD DriveType = 0;
  double TotalBytes = 0;
  double FreeBytes = 0;
  double UserFreeBytes = 0;
  // The same figures as exact integers, for the machine-readable report.
  unsigned long long ExactTotalBytes = 0;
  unsigned long long ExactFreeBytes = 0;
  unsigned long long ExactUserFreeBytes = 0;
  bool VolumeFailed = false;
  // Set by a caller that stopped waiting for the drive: the probe then holds the letter and the
  // listed type only, and VolumeFailed is true.
  bool TimedOut = false;
  std::string TypeName;
  // Code page 1252, as the report rows carry them.
  std::string VolumeName;
  std::string FileSystem;
  // Whole, as the system gives them.
  std::wstring WideVolumeName;
  std::wstring WideFileSystem;
  DWORD SerialNumber = 0;
  DWORD FileSystemFlags = 0;
  DWORD MaxNameLength = 0;
  DWORD SectorsPerCluster = 0;
  DWORD BytesPerSector = 0;
  DWORD FreeClusters = 0;
  DWORD TotalClusters = 0;
};

}  // namespace drive
