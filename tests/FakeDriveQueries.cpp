#include "tests/FakeDriveQueries.h"

#include "runtime/Text.h"

namespace testing_support {

const TFakeDrive* TFakeDriveQueries::Find(const std::string& root) const {
  if (root.size() != 3 || root.substr(1) != ":\\") throw std::invalid_argument("not a root path: " + root);
  const auto found = Drives.find(root[0]);
  return found == Drives.end() ? nullptr : &found->second;
}

DWORD TFakeDriveQueries::LogicalDrives() const {
  DWORD mask = 0;
  for (const auto& [letter, drive] : Drives)
    if (letter >= 'A' && letter <= 'Z') mask |= 1u << (letter - 'A');
  return mask;
}

UINT TFakeDriveQueries::DriveType(const std::string& root) const {
  const TFakeDrive* drive = Find(root);
  return drive ? drive->Type : DRIVE_NO_ROOT_DIR;
}

bool TFakeDriveQueries::VolumeInformation(const std::string& root, app::TVolumeAnswer& answer) const {
  const TFakeDrive* drive = Find(root);
  if (OnVolumeQuery) OnVolumeQuery(root[0]);
  if (drive && drive->ThrowOnVolume) throw std::runtime_error("Laufwerk " + root + " antwortet nicht");
  if (!drive || !drive->VolumeAnswers) return false;
  answer = drive->Volume;
  // The system gives both forms; a drive of the table may name either.
  if (answer.WideVolumeName.empty()) answer.WideVolumeName = tk::WideFromCp1252(answer.VolumeName);
  if (answer.VolumeName.empty()) answer.VolumeName = tk::Cp1252FromWide(answer.WideVolumeName);
  if (answer.WideFileSystem.empty()) answer.WideFileSystem = tk::WideFromCp1252(answer.FileSystem);
  if (answer.FileSystem.empty()) answer.FileSystem = tk::Cp1252FromWide(answer.WideFileSystem);
  return true;
}

void TFakeDriveQueries::DiskFreeSpace(const std::string& root, app::TClusterAnswer& answer) const {
  ++ClusterQueries;
  const TFakeDrive* drive = Find(root);
  answer = drive ? drive->Clusters : app::TClusterAnswer{};
}

std::optional<app::TFreeSpaceAnswer> TFakeDriveQueries::DiskFreeSpaceEx(const std::string& root) const {
  ++FreeSpaceQueries;
  const TFakeDrive* drive = Find(root);
  return drive ? drive->FreeSpace : std::nullopt;
}

TFakeDrive FixedDrive(unsigned long long total, unsigned long long free) {
  TFakeDrive drive;
  drive.Volume = {"DATEN", "NTFS", 0x1234ABCD, 255, 0x3E700FF};
  drive.Clusters = {8, 512, static_cast<DWORD>(free / 4096), static_cast<DWORD>(total / 4096)};
  drive.FreeSpace = app::TFreeSpaceAnswer{free, total, free};
  return drive;
}

}  // namespace testing_support
