// The drive probe: asks the system, when created, everything the program shows about one drive,
// and keeps the answers until it is freed. It is never refreshed.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "drive/DriveQueries.h"
#include "drive/PairStringList.h"

namespace drive {

struct TStorageDetails;

// Display name of a drive-type code; empty for a code without one (0, 1, above 6).
std::wstring DriveTypeName(UINT code);
// A drive letter in upper case; any other character as it is.
char UpperDriveLetter(char letter);

class TDriveInfo {
 public:
  explicit TDriveInfo(char letter, const TDriveQueries& queries = SystemDriveQueries());

  // TotalBytes - FreeBytes: below zero where a volume reports more free bytes than it has.
  long long UsedBytes() const { return static_cast<long long>(TotalBytes - FreeBytes); }
  // UsedBytes() * 100 / TotalBytes in floating point; 0 for a volume that reports no total, never a
  // division by zero.
  double UsedPercent() const;
  // The drive report with the user's number separators: a new list that the caller owns.
  std::unique_ptr<TPairStringList> CreateReport() const;

  char Letter;
  DWORD DriveType = 0;
  // Exact, far beyond 2^53.
  unsigned long long TotalBytes = 0;
  unsigned long long FreeBytes = 0;
  unsigned long long UserFreeBytes = 0;
  bool VolumeFailed = false;
  // Set by a caller that stopped waiting for the drive: the probe then holds the letter and the
  // listed type only, and VolumeFailed is true.
  bool TimedOut = false;
  // Whole; the outputs that need bytes convert them.
  std::wstring TypeName;
  std::wstring VolumeName;
  std::wstring FileSystem;
  DWORD SerialNumber = 0;
  DWORD FileSystemFlags = 0;
  DWORD MaxNameLength = 0;
  DWORD SectorsPerCluster = 0;
  DWORD BytesPerSector = 0;
  DWORD FreeClusters = 0;
  DWORD TotalClusters = 0;
  // What the storage queries answered, where a caller asked them (null otherwise): the details.
  std::shared_ptr<const TStorageDetails> Details;
};

}  // namespace drive
