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

std::vector<TListedDrive> ListedDrives(const TDriveQueries& queries) {
  // Every letter's type, as the console report asks them: the mask of present letters has been
  // seen to leave out the letters after a share that stalls.
  std::vector<TListedDrive> drives;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const UINT type = queries.DriveType(std::string(1, letter) + ":\\");
    if (IsListedDriveType(type)) drives.push_back({letter, type});
  }
  return drives;
}

TDriveListing::TDriveListing(const TDriveQueries& queries)
    : call_([&queries] { return ListedDrives(queries); }) {}

TDriveListing::~TDriveListing() {
  call_.Wait(INFINITE);
}

std::vector<TListedDrive> TDriveListing::Take() {
  return call_.Take(INFINITE).value_or(std::vector<TListedDrive>());
}

std::wstring DriveCaption(const TListedDrive& drive) {
  return std::wstring(1, static_cast<wchar_t>(drive.Letter)) + L": " + DriveTypeName(drive.Type);
}

}  // namespace drive
