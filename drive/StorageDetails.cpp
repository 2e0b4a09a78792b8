#include "drive/StorageDetails.h"

#include <winioctl.h>

#include <algorithm>
#include <cstring>

namespace drive {

namespace {

// A structure of the answer, when the device filled it whole.
template <typename T>
std::optional<T> Filled(std::span<const BYTE> bytes) {
  if (bytes.size() < sizeof(T)) return std::nullopt;
  T value;
  std::memcpy(&value, bytes.data(), sizeof(T));
  return value;
}

// A descriptor's text: ASCII from its offset to its zero (offset 0: none), padding blanks dropped.
std::optional<std::wstring> DescriptorText(std::span<const BYTE> bytes, DWORD offset) {
  if (offset == 0 || offset >= bytes.size()) return std::nullopt;
  std::wstring text;
  for (size_t i = offset; i < bytes.size() && bytes[i]; ++i) text += static_cast<wchar_t>(bytes[i]);
  const size_t first = text.find_first_not_of(L' '), last = text.find_last_not_of(L' ');
  if (first == std::wstring::npos) return std::nullopt;
  return text.substr(first, last - first + 1);
}

std::vector<BYTE> PropertyQuery(STORAGE_PROPERTY_ID property) {
  STORAGE_PROPERTY_QUERY query{};
  query.PropertyId = property;
  query.QueryType = PropertyStandardQuery;
  const auto* bytes = reinterpret_cast<const BYTE*>(&query);
  return std::vector<BYTE>(bytes, bytes + sizeof(query));
}

const struct {
  DWORD Code;
  const wchar_t* Name;
} kBusNames[] = {
    {BusTypeScsi, L"SCSI"},
    {BusTypeAtapi, L"ATAPI"},
    {BusTypeAta, L"ATA"},
    {BusType1394, L"IEEE 1394"},
    {BusTypeSsa, L"SSA"},
    {BusTypeFibre, L"Fibre Channel"},
    {BusTypeUsb, L"USB"},
    {BusTypeRAID, L"RAID"},
    {BusTypeiScsi, L"iSCSI"},
    {BusTypeSas, L"SAS"},
    {BusTypeSata, L"SATA"},
    {BusTypeSd, L"SD"},
    {BusTypeMmc, L"MMC"},
    {BusTypeVirtual, L"virtuell"},
    {BusTypeFileBackedVirtual, L"virtuell (Datei)"},
    {BusTypeSpaces, L"Speicherplätze"},
    {BusTypeNvme, L"NVMe"},
    {BusTypeSCM, L"SCM"},
    {BusTypeUfs, L"UFS"},
};

}  // namespace

std::wstring BusTypeName(DWORD busType) {
  for (const auto& bus : kBusNames)
    if (bus.Code == busType) return bus.Name;
  return L"";
}

std::wstring PartitionStyleName(DWORD style) {
  switch (style) {
    case PARTITION_STYLE_MBR:
      return L"MBR";
    case PARTITION_STYLE_GPT:
      return L"GPT";
    case PARTITION_STYLE_RAW:
      return L"RAW";
    default:
      return L"";
  }
}

void ReadDeviceDescriptor(std::span<const BYTE> bytes, TStorageDetails& details) {
  const auto descriptor = Filled<STORAGE_DEVICE_DESCRIPTOR>(bytes);
  // The texts lie within the size the device gives, as far as it filled them.
  if (!descriptor || descriptor->Size < sizeof(STORAGE_DEVICE_DESCRIPTOR)) return;
  const std::span<const BYTE> filled = bytes.first(std::min<size_t>(bytes.size(), descriptor->Size));
  if (descriptor->BusType != BusTypeUnknown) details.BusType = descriptor->BusType;
  details.Removable = descriptor->RemovableMedia != FALSE;
  details.Vendor = DescriptorText(filled, descriptor->VendorIdOffset);
  details.Product = DescriptorText(filled, descriptor->ProductIdOffset);
  details.Revision = DescriptorText(filled, descriptor->ProductRevisionOffset);
  details.Serial = DescriptorText(filled, descriptor->SerialNumberOffset);
}

std::optional<bool> ReadSeekPenalty(std::span<const BYTE> bytes) {
  const auto descriptor = Filled<DEVICE_SEEK_PENALTY_DESCRIPTOR>(bytes);
  if (!descriptor) return std::nullopt;
  return descriptor->IncursSeekPenalty != FALSE;
}

std::optional<bool> ReadTrim(std::span<const BYTE> bytes) {
  const auto descriptor = Filled<DEVICE_TRIM_DESCRIPTOR>(bytes);
  if (!descriptor) return std::nullopt;
  return descriptor->TrimEnabled != FALSE;
}

void ReadDeviceNumber(std::span<const BYTE> bytes, TStorageDetails& details) {
  const auto number = Filled<STORAGE_DEVICE_NUMBER>(bytes);
  // A CD-ROM's number counts CD-ROMs, not disks.
  if (!number || number->DeviceType != FILE_DEVICE_DISK) return;
  details.DiskNumber = number->DeviceNumber;
  // All bits set: a device that cannot be partitioned.
  if (number->PartitionNumber != static_cast<DWORD>(-1)) details.PartitionNumber = number->PartitionNumber;
}

void ReadPartition(std::span<const BYTE> bytes, TStorageDetails& details) {
  const auto partition = Filled<PARTITION_INFORMATION_EX>(bytes);
  if (!partition) return;
  details.PartitionStyle = static_cast<DWORD>(partition->PartitionStyle);
  if (!details.PartitionNumber) details.PartitionNumber = partition->PartitionNumber;
  details.PartitionOffset = static_cast<unsigned long long>(partition->StartingOffset.QuadPart);
  details.PartitionLength = static_cast<unsigned long long>(partition->PartitionLength.QuadPart);
}

void ReadDiskExtents(std::span<const BYTE> bytes, TStorageDetails& details) {
  const auto extents = Filled<VOLUME_DISK_EXTENTS>(bytes);
  // A volume on several disks (spanned, striped) has no one disk, offset or length.
  if (!extents || extents->NumberOfDiskExtents != 1) return;
  const DISK_EXTENT& extent = extents->Extents[0];
  if (!details.DiskNumber) details.DiskNumber = extent.DiskNumber;
  if (!details.PartitionOffset)
    details.PartitionOffset = static_cast<unsigned long long>(extent.StartingOffset.QuadPart);
  if (!details.PartitionLength)
    details.PartitionLength = static_cast<unsigned long long>(extent.ExtentLength.QuadPart);
}

TStorageDetails AskStorageDetails(char letter, UINT driveType, const TStorageQueries& queries) {
  TStorageDetails details;
  const std::wstring local{static_cast<wchar_t>(letter), L':'};
  details.VolumeGuidPath = queries.VolumeGuidPath(local + L"\\");
  if (details.VolumeGuidPath) details.MountPoints = queries.MountPoints(*details.VolumeGuidPath);
  // A mapped drive's device is the network redirector: its share is what there is to know.
  if (driveType == DRIVE_REMOTE) {
    details.Share = queries.RemoteName(local);
    return details;
  }
  const std::wstring volume = L"\\\\.\\" + local;
  const auto ask = [&](DWORD code, const std::vector<BYTE>& input = {}) {
    TIoAnswer answer = queries.DeviceControl(volume, code, input);
    if (answer.Error) answer.Bytes.clear();
    return answer.Bytes;
  };
  ReadDeviceDescriptor(ask(IOCTL_STORAGE_QUERY_PROPERTY, PropertyQuery(StorageDeviceProperty)), details);
  details.SeekPenalty =
      ReadSeekPenalty(ask(IOCTL_STORAGE_QUERY_PROPERTY, PropertyQuery(StorageDeviceSeekPenaltyProperty)));
  details.Trim = ReadTrim(ask(IOCTL_STORAGE_QUERY_PROPERTY, PropertyQuery(StorageDeviceTrimProperty)));
  ReadDeviceNumber(ask(IOCTL_STORAGE_GET_DEVICE_NUMBER), details);
  ReadPartition(ask(IOCTL_DISK_GET_PARTITION_INFO_EX), details);
  ReadDiskExtents(ask(IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS), details);
  return details;
}

}  // namespace drive
