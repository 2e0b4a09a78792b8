#include "tests/support/FakeStorageQueries.h"

#include <winioctl.h>

#include <cstring>
#include <stdexcept>

namespace testing_support {

namespace {

template <typename T>
std::vector<BYTE> BytesOf(const T& value) {
  const auto* bytes = reinterpret_cast<const BYTE*>(&value);
  return std::vector<BYTE>(bytes, bytes + sizeof(T));
}

drive::TIoAnswer Answer(std::vector<BYTE> bytes) {
  return {0, std::move(bytes)};
}

// STORAGE_DEVICE_DESCRIPTOR with its texts behind it, as a driver lays them out: each ended by a zero,
// the inquiry's fields padded with blanks to their width; a text the device lacks has offset 0.
std::vector<BYTE> DeviceDescriptor(STORAGE_BUS_TYPE bus, bool removable, const char* vendor,
                                   const char* product, const char* revision, const char* serial) {
  STORAGE_DEVICE_DESCRIPTOR header{};
  std::vector<BYTE> texts;
  const auto place = [&](const char* text) -> DWORD {
    if (!text) return 0;
    const DWORD offset = static_cast<DWORD>(sizeof(header) + texts.size());
    texts.insert(texts.end(), text, text + std::strlen(text) + 1);
    return offset;
  };
  header.Version = sizeof(header);
  header.DeviceType = 0;  // direct access
  header.RemovableMedia = removable;
  header.CommandQueueing = bus != BusTypeUsb;
  header.VendorIdOffset = place(vendor);
  header.ProductIdOffset = place(product);
  header.ProductRevisionOffset = place(revision);
  header.SerialNumberOffset = place(serial);
  header.BusType = bus;
  header.Size = static_cast<DWORD>(sizeof(header) + texts.size());
  std::vector<BYTE> bytes = BytesOf(header);
  bytes.insert(bytes.end(), texts.begin(), texts.end());
  return bytes;
}

std::vector<BYTE> SeekPenalty(bool incurs) {
  DEVICE_SEEK_PENALTY_DESCRIPTOR descriptor{};
  descriptor.Version = descriptor.Size = sizeof(descriptor);
  descriptor.IncursSeekPenalty = incurs;
  return BytesOf(descriptor);
}

std::vector<BYTE> Trim(bool enabled) {
  DEVICE_TRIM_DESCRIPTOR descriptor{};
  descriptor.Version = descriptor.Size = sizeof(descriptor);
  descriptor.TrimEnabled = enabled;
  return BytesOf(descriptor);
}

std::vector<BYTE> DeviceNumber(DWORD disk, DWORD partition) {
  return BytesOf(STORAGE_DEVICE_NUMBER{FILE_DEVICE_DISK, disk, partition});
}

// A Windows data partition of a GPT disk.
std::vector<BYTE> GptPartition(DWORD number, unsigned long long offset, unsigned long long length) {
  PARTITION_INFORMATION_EX partition{};
  partition.PartitionStyle = PARTITION_STYLE_GPT;
  partition.StartingOffset.QuadPart = static_cast<LONGLONG>(offset);
  partition.PartitionLength.QuadPart = static_cast<LONGLONG>(length);
  partition.PartitionNumber = number;
  // PARTITION_BASIC_DATA_GUID
  partition.Gpt.PartitionType = {
      0xebd0a0a2, 0xb9e5, 0x4433, {0x87, 0xc0, 0x68, 0xb6, 0xb7, 0x26, 0x99, 0xc7}};
  partition.Gpt.PartitionId = {0x5a1e2b3c, 0x4d5e, 0x6f70, {0x81, 0x92, 0xa3, 0xb4, 0xc5, 0xd6, 0xe7, 0xf8}};
  std::wcscpy(partition.Gpt.Name, L"Basic data partition");
  return BytesOf(partition);
}

std::vector<BYTE> MbrPartition(DWORD number, unsigned long long offset, unsigned long long length,
                               BYTE type) {
  PARTITION_INFORMATION_EX partition{};
  partition.PartitionStyle = PARTITION_STYLE_MBR;
  partition.StartingOffset.QuadPart = static_cast<LONGLONG>(offset);
  partition.PartitionLength.QuadPart = static_cast<LONGLONG>(length);
  partition.PartitionNumber = number;
  partition.Mbr.PartitionType = type;
  partition.Mbr.BootIndicator = number == 1;
  partition.Mbr.RecognizedPartition = TRUE;
  partition.Mbr.HiddenSectors = static_cast<DWORD>(offset / 512);
  return BytesOf(partition);
}

std::vector<BYTE> DiskExtent(DWORD disk, unsigned long long offset, unsigned long long length) {
  VOLUME_DISK_EXTENTS extents{};
  extents.NumberOfDiskExtents = 1;
  extents.Extents[0].DiskNumber = disk;
  extents.Extents[0].StartingOffset.QuadPart = static_cast<LONGLONG>(offset);
  extents.Extents[0].ExtentLength.QuadPart = static_cast<LONGLONG>(length);
  return BytesOf(extents);
}

std::pair<DWORD, DWORD> Property(STORAGE_PROPERTY_ID id) {
  return {IOCTL_STORAGE_QUERY_PROPERTY, id};
}
std::pair<DWORD, DWORD> Control(DWORD code) {
  return {code, 0};
}

// A disk's volume, all of whose queries answer unless the caller takes some away.
struct TDisk {
  std::vector<BYTE> Descriptor;
  bool SeekPenalty, Trim;
  DWORD Number, Partition;
  std::vector<BYTE> PartitionInformation;
  unsigned long long Offset, Length;
};

TFakeVolume DiskVolume(char letter, const wchar_t* guid, const TDisk& disk) {
  TFakeVolume volume;
  volume.GuidPath = std::wstring(L"\\\\?\\Volume{") + guid + L"}\\";
  volume.MountPoints = {std::wstring{static_cast<wchar_t>(letter), L':', L'\\'}};
  volume.Controls[Property(StorageDeviceProperty)] = Answer(disk.Descriptor);
  volume.Controls[Property(StorageDeviceSeekPenaltyProperty)] = Answer(SeekPenalty(disk.SeekPenalty));
  volume.Controls[Property(StorageDeviceTrimProperty)] = Answer(Trim(disk.Trim));
  volume.Controls[Control(IOCTL_STORAGE_GET_DEVICE_NUMBER)] =
      Answer(DeviceNumber(disk.Number, disk.Partition));
  volume.Controls[Control(IOCTL_DISK_GET_PARTITION_INFO_EX)] = Answer(disk.PartitionInformation);
  volume.Controls[Control(IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS)] =
      Answer(DiskExtent(disk.Number, disk.Offset, disk.Length));
  return volume;
}

}  // namespace

TRecordedDrive NvmeSsd() {
  TFakeDrive drive = FixedDrive(999473315840ull, 412316860416ull);
  // After the EFI system partition (100 MiB at 1 MiB) and the reserved one (16 MiB).
  const unsigned long long offset = 117ull << 20, length = 999473315840ull;
  TFakeVolume volume = DiskVolume(
      'C', L"3f2504e0-4f89-11d3-9a0c-0305e82c3301",
      {DeviceDescriptor(BusTypeNvme, false, "NVMe    ", "Samsung SSD 970 ", "2B2Q", "0025_3851_91B0_4E5F."),
       false, true, 0, 3, GptPartition(3, offset, length), offset, length});
  // A folder where the volume is mounted too.
  volume.MountPoints.push_back(L"D:\\Daten\\System\\");
  return {drive, volume};
}

TRecordedDrive SataSsd() {
  TFakeDrive drive = FixedDrive(500088061952ull, 250044030976ull);
  drive.Volume.VolumeName = L"SSD";
  // After the reserved partition (16 MiB at 1 MiB).
  const unsigned long long offset = 17ull << 20, length = 500088061952ull;
  return {drive, DiskVolume('D', L"6b29fc40-ca47-1067-b31d-00dd010662da",
                            {DeviceDescriptor(BusTypeSata, false, nullptr, "Samsung SSD 860 EVO 500GB",
                                              "RVT04B6Q", "S3Z1NB0K123456A"),
                             false, true, 1, 2, GptPartition(2, offset, length), offset, length})};
}

TRecordedDrive UsbStick() {
  TFakeDrive drive = FixedDrive(61530439680ull, 60000000000ull);
  drive.Type = DRIVE_REMOVABLE;
  drive.Volume = {L"STICK", L"exFAT", 0x5A3C1D2E, 255, 0x00000006};
  const unsigned long long offset = 1ull << 20, length = 61530439680ull;
  TFakeVolume volume = DiskVolume(
      'E', L"a1b2c3d4-0000-11ee-8c90-806e6f6e6963",
      {DeviceDescriptor(BusTypeUsb, true, "SanDisk ", "Ultra           ", "1.00", "4C530001230918115234"),
       false, false, 2, 1, MbrPartition(1, offset, length, 0x07), offset, length});
  volume.Controls.erase(Property(StorageDeviceTrimProperty));
  return {drive, volume};
}

TRecordedDrive RotatingDisk() {
  TFakeDrive drive = FixedDrive(1000202240000ull, 600000000000ull);
  drive.Volume.VolumeName = L"ARCHIV";
  // Sector 63: where Windows XP began the first partition.
  const unsigned long long offset = 63ull * 512, length = 1000202240000ull;
  return {drive, DiskVolume('F', L"0f7d2c1a-9b3e-11db-a2f6-806e6f6e6963",
                            {DeviceDescriptor(BusTypeSata, false, nullptr, "WDC WD10EZEX-08WN4A0", "01.01A01",
                                              "     WD-WCC6Y1234567"),
                             true, false, 3, 1, MbrPartition(1, offset, length, 0x07), offset, length})};
}

TRecordedDrive MappedShare() {
  TFakeDrive drive = FixedDrive(2000000000000ull, 1500000000000ull);
  drive.Type = DRIVE_REMOTE;
  drive.FreeSpace->UserFreeBytes = 10737418240ull;  // a quota of 10 GiB left to the user
  TFakeVolume volume;
  volume.RemoteName = L"\\\\fileserver\\daten";
  return {drive, volume};
}

TRecordedDrive RefusingDrive() {
  TFakeDrive drive = NoMedium(DRIVE_FIXED);
  TFakeVolume volume;
  volume.OpenError = ERROR_ACCESS_DENIED;
  return {drive, volume};
}

void AddRecordedDrives(TFakeDriveQueries& drives, TFakeStorageQueries& storage) {
  const std::pair<char, TRecordedDrive> recorded[] = {{'C', NvmeSsd()},       {'D', SataSsd()},
                                                      {'E', UsbStick()},      {'F', RotatingDisk()},
                                                      {'R', RefusingDrive()}, {'S', MappedShare()}};
  for (const auto& [letter, device] : recorded) {
    drives.Drives[letter] = device.Drive;
    storage.Volumes[letter] = device.Volume;
  }
}

const TFakeVolume* TFakeStorageQueries::Find(wchar_t letter) const {
  const auto found = Volumes.find(static_cast<char>(letter));
  return found == Volumes.end() ? nullptr : &found->second;
}

std::optional<std::wstring> TFakeStorageQueries::VolumeGuidPath(const std::wstring& root) const {
  if (root.size() != 3 || root.substr(1) != L":\\") throw std::invalid_argument("not a root path");
  const TFakeVolume* volume = Find(root[0]);
  return volume ? volume->GuidPath : std::nullopt;
}

std::vector<std::wstring> TFakeStorageQueries::MountPoints(const std::wstring& volumeGuidPath) const {
  for (const auto& [letter, volume] : Volumes)
    if (volume.GuidPath == volumeGuidPath) return volume.MountPoints;
  return {};
}

std::optional<std::wstring> TFakeStorageQueries::RemoteName(const std::wstring& localName) const {
  if (localName.size() != 2 || localName[1] != L':') throw std::invalid_argument("not a local name");
  const TFakeVolume* volume = Find(localName[0]);
  return volume ? volume->RemoteName : std::nullopt;
}

drive::TIoAnswer TFakeStorageQueries::DeviceControl(const std::wstring& device, DWORD code,
                                                    const std::vector<BYTE>& input) const {
  ++ControlQueries;
  if (device.size() != 6 || device.substr(0, 4) != L"\\\\.\\" || device[5] != L':')
    throw std::invalid_argument("not a volume device");
  const TFakeVolume* volume = Find(device[4]);
  if (!volume) return {ERROR_FILE_NOT_FOUND};
  if (volume->OpenError) return {volume->OpenError};
  DWORD property = 0;
  if (code == IOCTL_STORAGE_QUERY_PROPERTY) {
    STORAGE_PROPERTY_QUERY query{};
    if (input.size() != sizeof(query)) return {ERROR_INVALID_PARAMETER};
    std::memcpy(&query, input.data(), sizeof(query));
    if (query.QueryType != PropertyStandardQuery) return {ERROR_INVALID_PARAMETER};
    property = query.PropertyId;
  }
  const auto found = volume->Controls.find({code, property});
  return found == volume->Controls.end() ? drive::TIoAnswer{ERROR_INVALID_FUNCTION} : found->second;
}

}  // namespace testing_support
