#include "tests/support/FakeStorageQueries.h"

#include <winioctl.h>

#include <cstring>
#include <stdexcept>

namespace testing_support {

namespace {

template <typename T>
drive::TIoAnswer Answer(const T& value, std::vector<BYTE> more = {}) {
  const auto* bytes = reinterpret_cast<const BYTE*>(&value);
  std::vector<BYTE> answer(bytes, bytes + sizeof(T));
  answer.insert(answer.end(), more.begin(), more.end());
  return {0, answer};
}

// STORAGE_DEVICE_DESCRIPTOR with its texts behind it, as a driver lays them out: each ended by a zero,
// the inquiry's fields padded with blanks; a text the device lacks has offset 0.
drive::TIoAnswer DeviceDescriptor(STORAGE_BUS_TYPE bus, bool removable, const char* vendor,
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
  header.RemovableMedia = removable;
  header.CommandQueueing = bus != BusTypeUsb;
  header.VendorIdOffset = place(vendor);
  header.ProductIdOffset = place(product);
  header.ProductRevisionOffset = place(revision);
  header.SerialNumberOffset = place(serial);
  header.BusType = bus;
  header.Size = static_cast<DWORD>(sizeof(header) + texts.size());
  return Answer(header, texts);
}

// A disk's volume, all of whose queries answer: the partition a Windows data partition of its style.
struct TDisk {
  drive::TIoAnswer Descriptor;
  bool SeekPenalty, Trim;
  DWORD Number, Partition;
  PARTITION_STYLE Style;
  unsigned long long Offset, Length;
};

TFakeVolume DiskVolume(char letter, const wchar_t* guid, const TDisk& disk) {
  PARTITION_INFORMATION_EX partition{};
  partition.PartitionStyle = disk.Style;
  partition.StartingOffset.QuadPart = static_cast<LONGLONG>(disk.Offset);
  partition.PartitionLength.QuadPart = static_cast<LONGLONG>(disk.Length);
  partition.PartitionNumber = disk.Partition;
  if (disk.Style == PARTITION_STYLE_GPT) {
    // PARTITION_BASIC_DATA_GUID
    partition.Gpt.PartitionType = {
        0xebd0a0a2, 0xb9e5, 0x4433, {0x87, 0xc0, 0x68, 0xb6, 0xb7, 0x26, 0x99, 0xc7}};
  } else {
    partition.Mbr.PartitionType = PARTITION_IFS;
    partition.Mbr.RecognizedPartition = TRUE;
    partition.Mbr.HiddenSectors = static_cast<DWORD>(disk.Offset / 512);
  }
  VOLUME_DISK_EXTENTS extents{1, {{disk.Number, {}, {}}}};
  extents.Extents[0].StartingOffset.QuadPart = static_cast<LONGLONG>(disk.Offset);
  extents.Extents[0].ExtentLength.QuadPart = static_cast<LONGLONG>(disk.Length);
  TFakeVolume volume;
  volume.GuidPath = std::wstring(L"\\\\?\\Volume{") + guid + L"}\\";
  volume.MountPoints = {std::wstring{static_cast<wchar_t>(letter), L':', L'\\'}};
  volume.Controls = {
      {{IOCTL_STORAGE_QUERY_PROPERTY, StorageDeviceProperty}, disk.Descriptor},
      {{IOCTL_STORAGE_QUERY_PROPERTY, StorageDeviceSeekPenaltyProperty},
       Answer(DEVICE_SEEK_PENALTY_DESCRIPTOR{sizeof(DEVICE_SEEK_PENALTY_DESCRIPTOR),
                                             sizeof(DEVICE_SEEK_PENALTY_DESCRIPTOR), disk.SeekPenalty})},
      {{IOCTL_STORAGE_QUERY_PROPERTY, StorageDeviceTrimProperty},
       Answer(DEVICE_TRIM_DESCRIPTOR{sizeof(DEVICE_TRIM_DESCRIPTOR), sizeof(DEVICE_TRIM_DESCRIPTOR),
                                     disk.Trim})},
      {{IOCTL_STORAGE_GET_DEVICE_NUMBER, 0},
       Answer(STORAGE_DEVICE_NUMBER{FILE_DEVICE_DISK, disk.Number, disk.Partition})},
      {{IOCTL_DISK_GET_PARTITION_INFO_EX, 0}, Answer(partition)},
      {{IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, 0}, Answer(extents)},
  };
  return volume;
}

}  // namespace

TRecordedDrive NvmeSsd() {
  // After the EFI system partition (100 MiB at 1 MiB) and the reserved one (16 MiB); mounted in a
  // folder too.
  TRecordedDrive nvme{FixedDrive(999473315840ull, 412316860416ull),
                      DiskVolume('C', L"3f2504e0-4f89-11d3-9a0c-0305e82c3301",
                                 {DeviceDescriptor(BusTypeNvme, false, "NVMe    ", "Samsung SSD 970 ", "2B2Q",
                                                   "0025_3851_91B0_4E5F."),
                                  false, true, 0, 3, PARTITION_STYLE_GPT, 117ull << 20, 999473315840ull})};
  nvme.Volume.MountPoints.push_back(L"D:\\Daten\\System\\");
  return nvme;
}

TRecordedDrive SataSsd() {
  TRecordedDrive sata{FixedDrive(500088061952ull, 250044030976ull),
                      DiskVolume('D', L"6b29fc40-ca47-1067-b31d-00dd010662da",
                                 {DeviceDescriptor(BusTypeSata, false, nullptr, "Samsung SSD 860 EVO 500GB",
                                                   "RVT04B6Q", "S3Z1NB0K123456A"),
                                  false, true, 1, 2, PARTITION_STYLE_GPT, 17ull << 20, 500088061952ull})};
  sata.Drive.Volume.VolumeName = L"SSD";
  return sata;
}

TRecordedDrive UsbStick() {
  TRecordedDrive stick{FixedDrive(61530439680ull, 60000000000ull),
                       DiskVolume('E', L"a1b2c3d4-0000-11ee-8c90-806e6f6e6963",
                                  {DeviceDescriptor(BusTypeUsb, true, "SanDisk ", "Ultra           ", "1.00",
                                                    "4C530001230918115234"),
                                   false, false, 2, 1, PARTITION_STYLE_MBR, 1ull << 20, 61530439680ull})};
  stick.Drive.Type = DRIVE_REMOVABLE;
  stick.Drive.Volume = {L"STICK", L"exFAT", 0x5A3C1D2E, 255, 0x00000006};
  stick.Volume.Controls.erase({IOCTL_STORAGE_QUERY_PROPERTY, StorageDeviceTrimProperty});
  return stick;
}

TRecordedDrive RotatingDisk() {
  // Sector 63: where Windows XP began the first partition. ATA serials come right-aligned.
  TRecordedDrive disk{FixedDrive(1000202240000ull, 600000000000ull),
                      DiskVolume('F', L"0f7d2c1a-9b3e-11db-a2f6-806e6f6e6963",
                                 {DeviceDescriptor(BusTypeSata, false, nullptr, "WDC WD10EZEX-08WN4A0",
                                                   "01.01A01", "     WD-WCC6Y1234567"),
                                  true, false, 3, 1, PARTITION_STYLE_MBR, 63ull * 512, 1000202240000ull})};
  disk.Drive.Volume.VolumeName = L"ARCHIV";
  return disk;
}

TRecordedDrive MappedShare() {
  TRecordedDrive share{FixedDrive(2000000000000ull, 1500000000000ull), {}};
  share.Drive.Type = DRIVE_REMOTE;
  share.Drive.FreeSpace->UserFreeBytes = 10737418240ull;  // a quota of 10 GiB left to the user
  share.Volume.RemoteName = L"\\\\fileserver\\daten";
  return share;
}

TRecordedDrive RefusingDrive() {
  TRecordedDrive refusing{NoMedium(DRIVE_FIXED), {}};
  refusing.Volume.OpenError = ERROR_ACCESS_DENIED;
  return refusing;
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
