#include "drive/DriveInfo.h"

namespace drive {

std::wstring DriveTypeName(UINT code) {
  switch (code) {
    case DRIVE_REMOVABLE:
      return L"Diskette";
    case DRIVE_FIXED:
      return L"Festplatte";
    case DRIVE_REMOTE:
      return L"Netzlaufwerk";
    case DRIVE_CDROM:
      return L"CD-ROM";
    case DRIVE_RAMDISK:
      return L"RAM-Disk";
    default:
      return L"";
  }
}

char UpperDriveLetter(char letter) {
  return letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
}

TDriveInfo::TDriveInfo(char letter, const TDriveQueries& queries) : Letter(UpperDriveLetter(letter)) {
  const std::string root = std::string(1, Letter) + ":\\";
  DriveType = queries.DriveType(root);
  if (DriveType != 0) TypeName = DriveTypeName(DriveType);

  TVolumeAnswer volume;
  VolumeFailed = !queries.VolumeInformation(root, volume);
  if (VolumeFailed) return;
  SerialNumber = volume.SerialNumber;
  MaxNameLength = volume.MaxNameLength;
  FileSystemFlags = volume.FileSystemFlags;

  TClusterAnswer clusters;
  queries.DiskFreeSpace(root, clusters);
  SectorsPerCluster = clusters.SectorsPerCluster;
  BytesPerSector = clusters.BytesPerSector;
  FreeClusters = clusters.FreeClusters;
  TotalClusters = clusters.TotalClusters;

  if (const auto space = queries.DiskFreeSpaceEx(root)) {
    TotalBytes = space->TotalBytes;
    FreeBytes = space->TotalFreeBytes;
    UserFreeBytes = space->UserFreeBytes;
  } else {
    // Products in 64 bits: a 32-bit product would wrap for volumes of 4 GB and more.
    const unsigned long long clusterBytes =
        static_cast<unsigned long long>(SectorsPerCluster) * BytesPerSector;
    TotalBytes = clusterBytes * TotalClusters;
    FreeBytes = clusterBytes * FreeClusters;
    UserFreeBytes = FreeBytes;
  }

  VolumeName = volume.VolumeName;
  FileSystem = volume.FileSystem;
}

double TDriveInfo::UsedPercent() const {
  return TotalBytes == 0 ? 0.0 : static_cast<double>(UsedBytes()) * 100 / static_cast<double>(TotalBytes);
}

}  // namespace drive
