#include "app/DriveList.h"

#include "app/DriveInfo.h"

namespace app {

int DriveImageIndex(UINT driveType) {
  switch (driveType) {
    case DRIVE_REMOVABLE:
      return 0;
    case DRIVE_FIXED:
      return 1;
    case DRIVE_RAMDISK:
      return 2;
    case DRIVE_REMOTE:
      return 3;
    case DRIVE_CDROM:
      return 4;
    default:
      return -1;
  }
}

std::vector<TListedDrive> ListedDrives(const TDriveQueries& queries) {
  std::vector<TListedDrive> drives;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const UINT type = queries.DriveType(std::string(1, letter) + ":\\");
    if (DriveImageIndex(type) >= 0) drives.push_back({letter, type});
  }
  return drives;
}

std::string DriveCaption(const TListedDrive& drive) {
  return std::string(1, drive.Letter) + ": " + DriveTypeName(drive.Type);
}

}  // namespace app
