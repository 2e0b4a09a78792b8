#include "drive/DriveList.h"

#include "drive/DriveInfo.h"

namespace drive {

bool IsListedDriveType(UINT driveType) {
  switch (driveType) {
    case DRIVE_REMOVABLE:
    case DRIVE_FIXED:
    case DRIVE_RAMDISK:
    case DRIVE_REMOTE:
    case DRIVE_CDROM:
      return true;
    default:
      return false;
  }
}

std::wstring DriveCaption(const TListedDrive& drive) {
  return std::wstring(1, static_cast<wchar_t>(drive.Letter)) + L": " + DriveTypeName(drive.Type);
}

}  // namespace drive
