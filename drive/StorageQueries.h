// What Windows knows of the volume and the device behind a drive letter beyond the volume query: its
// GUID path and mount points, the share of a mapped drive, and the storage and partition controls of
// the device. Every device is opened with no access rights, which needs no administrator. The program
// asks Windows; tests answer with recorded answers of real devices.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace drive {

// A device control's answer: the bytes the device filled, or the system's error (0 on success).
struct TIoAnswer {
  DWORD Error = 0;
  std::vector<BYTE> Bytes{};
};

class TStorageQueries {
 public:
  virtual ~TStorageQueries() = default;
  // GetVolumeNameForVolumeMountPointW of a root ("C:\"): "\\?\Volume{...}\", or none.
  virtual std::optional<std::wstring> VolumeGuidPath(const std::wstring& root) const = 0;
  // GetVolumePathNamesForVolumeNameW: every letter and folder the volume is mounted at.
  virtual std::vector<std::wstring> MountPoints(const std::wstring& volumeGuidPath) const = 0;
  // WNetGetConnectionW of a local name ("C:"): the share a mapped drive stands for, or none.
  virtual std::optional<std::wstring> RemoteName(const std::wstring& localName) const = 0;
  // DeviceIoControl on a device ("\\.\C:") opened with no access rights.
  virtual TIoAnswer DeviceControl(const std::wstring& device, DWORD code,
                                  const std::vector<BYTE>& input) const = 0;
};

// The queries as Windows answers them.
const TStorageQueries& SystemStorageQueries();

}  // namespace drive
