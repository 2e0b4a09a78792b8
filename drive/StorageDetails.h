// A drive's details: what the storage queries answer of its volume, its share and the device behind
// it, each fact empty where Windows does not answer it.
#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "drive/StorageQueries.h"

namespace drive {

struct TStorageDetails {
  std::optional<std::wstring> VolumeGuidPath;
  std::vector<std::wstring> MountPoints;  // letters and folders
  std::optional<std::wstring> Share;      // "\\server\share"
  // The device, from its descriptor.
  std::optional<DWORD> BusType;  // STORAGE_BUS_TYPE
  std::optional<std::wstring> Vendor, Product, Revision, Serial;
  std::optional<bool> Removable;
  std::optional<bool> SeekPenalty;
  std::optional<bool> Trim;
  std::optional<DWORD> DiskNumber, PartitionNumber;
  std::optional<DWORD> PartitionStyle;  // PARTITION_STYLE
  std::optional<unsigned long long> PartitionOffset, PartitionLength;
};

// Asks the storage queries about the drive of the letter and type (the drive-type code): the volume's
// GUID path and mount points; for a mapped drive its share; for any other the device's descriptor,
// seek penalty, trim, number and partition, all through the volume ("\\.\C:").
TStorageDetails AskStorageDetails(char letter, UINT driveType, const TStorageQueries& queries);

// The parts of the answers, from the bytes of the structures a device fills; a short or malformed
// answer gives nothing.
// STORAGE_DEVICE_DESCRIPTOR: bus, removable, and its texts without their padding blanks.
void ReadDeviceDescriptor(std::span<const BYTE> bytes, TStorageDetails& details);
// DEVICE_SEEK_PENALTY_DESCRIPTOR, DEVICE_TRIM_DESCRIPTOR.
std::optional<bool> ReadSeekPenalty(std::span<const BYTE> bytes);
std::optional<bool> ReadTrim(std::span<const BYTE> bytes);
// STORAGE_DEVICE_NUMBER of a disk: the disk number and, unless the device is not partitioned, the
// partition number.
void ReadDeviceNumber(std::span<const BYTE> bytes, TStorageDetails& details);
// PARTITION_INFORMATION_EX: style, number, offset and length.
void ReadPartition(std::span<const BYTE> bytes, TStorageDetails& details);
// VOLUME_DISK_EXTENTS of a volume on one disk: the disk, offset and length where nothing else gave them.
void ReadDiskExtents(std::span<const BYTE> bytes, TStorageDetails& details);

// The bus's name ("USB", "SATA", "NVMe"); empty for a code without one.
std::wstring BusTypeName(DWORD busType);
// "MBR", "GPT", "RAW"; empty for another code.
std::wstring PartitionStyleName(DWORD style);

}  // namespace drive
