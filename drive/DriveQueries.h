// The four operating-system queries that a drive probe makes, by root path ("C:\"). The program asks
// Windows; tests answer with a fake where no real drive gives the answer they need.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace drive {

struct TVolumeAnswer {
  // The names as the system gives them, whole.
  std::wstring VolumeName;
  std::wstring FileSystem;
  DWORD SerialNumber = 0;
  DWORD MaxNameLength = 0;
  DWORD FileSystemFlags = 0;
};

struct TClusterAnswer {
  DWORD SectorsPerCluster = 0;
  DWORD BytesPerSector = 0;
  DWORD FreeClusters = 0;
  DWORD TotalClusters = 0;
};

struct TFreeSpaceAnswer {
  unsigned long long UserFreeBytes = 0;  // available to the calling user
  unsigned long long TotalBytes = 0;
  unsigned long long TotalFreeBytes = 0;
};

class TDriveQueries {
 public:
  virtual ~TDriveQueries() = default;
  // GetDriveTypeA.
  virtual UINT DriveType(const std::string& root) const = 0;
  // GetVolumeInformationW, with the names whole; false when the volume does not answer.
  virtual bool VolumeInformation(const std::string& root, TVolumeAnswer& answer) const = 0;
  // GetDiskFreeSpaceA; a failed query leaves every figure 0.
  virtual void DiskFreeSpace(const std::string& root, TClusterAnswer& answer) const = 0;
  // GetDiskFreeSpaceExA where the system has it (nothing otherwise); a failed query gives zeros.
  virtual std::optional<TFreeSpaceAnswer> DiskFreeSpaceEx(const std::string& root) const = 0;
};

// The queries as Windows answers them.
const TDriveQueries& SystemDriveQueries();

// What a drive that has not answered shows: its type, where that is known (0 otherwise), and no volume.
class TTypeOnlyQueries final : public TDriveQueries {
 public:
  explicit TTypeOnlyQueries(UINT type) : type_(type) {}
  UINT DriveType(const std::string&) const override { return type_; }
  bool VolumeInformation(const std::string&, TVolumeAnswer&) const override { return false; }
  void DiskFreeSpace(const std::string&, TClusterAnswer& answer) const override { answer = {}; }
  std::optional<TFreeSpaceAnswer> DiskFreeSpaceEx(const std::string&) const override { return std::nullopt; }

 private:
  UINT type_;
};

}  // namespace drive
