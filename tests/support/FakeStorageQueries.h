// Storage queries answered with recorded answers of real devices: the structures that a device fills
// (STORAGE_DEVICE_DESCRIPTOR with its texts, DEVICE_SEEK_PENALTY_DESCRIPTOR, DEVICE_TRIM_DESCRIPTOR,
// STORAGE_DEVICE_NUMBER, PARTITION_INFORMATION_EX, VOLUME_DISK_EXTENTS) as bytes, or its error.
#pragma once

#include <atomic>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "drive/StorageQueries.h"
#include "tests/support/FakeDriveQueries.h"

namespace testing_support {

struct TFakeVolume {
  std::optional<std::wstring> GuidPath;
  std::vector<std::wstring> MountPoints;
  std::optional<std::wstring> RemoteName;
  // The answers of the volume's device ("\\.\C:") by control code and, for the storage property
  // query, the property asked (0 for the other codes). A control without an answer fails with
  // ERROR_INVALID_FUNCTION, as a driver that does not know it.
  std::map<std::pair<DWORD, DWORD>, drive::TIoAnswer> Controls;
  // Not 0: the device cannot be opened, with this error.
  DWORD OpenError = 0;
};

class TFakeStorageQueries : public drive::TStorageQueries {
 public:
  std::map<char, TFakeVolume> Volumes;
  // The device controls asked, the failed ones too; from any thread.
  mutable std::atomic<int> ControlQueries = 0;

  std::optional<std::wstring> VolumeGuidPath(const std::wstring& root) const override;
  std::vector<std::wstring> MountPoints(const std::wstring& volumeGuidPath) const override;
  std::optional<std::wstring> RemoteName(const std::wstring& localName) const override;
  drive::TIoAnswer DeviceControl(const std::wstring& device, DWORD code,
                                 const std::vector<BYTE>& input) const override;

 private:
  const TFakeVolume* Find(wchar_t letter) const;
};

// The devices, as Windows 10 answers for them through the volume, each with its drive's volume query.
struct TRecordedDrive {
  TFakeDrive Drive;
  TFakeVolume Volume;
};
// C: an NVMe SSD (GPT, the system partition after EFI and MSR partitions).
TRecordedDrive NvmeSsd();
// D: a SATA SSD (GPT data disk; its controller gives no vendor).
TRecordedDrive SataSsd();
// E: a USB 3 stick (MBR, removable; its trim query unknown to the driver).
TRecordedDrive UsbStick();
// F: a rotating SATA disk partitioned by Windows XP (MBR, the partition at sector 63: not aligned).
TRecordedDrive RotatingDisk();
// S: a drive mapped to \\fileserver\daten.
TRecordedDrive MappedShare();
// R: a drive that refuses every query.
TRecordedDrive RefusingDrive();

// Each of the above at its letter, in both fakes.
void AddRecordedDrives(TFakeDriveQueries& drives, TFakeStorageQueries& storage);

}  // namespace testing_support
