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

TDriveListing::TDriveListing(const TDriveQueries& queries) : queries_(queries) {
  thread_ = CreateThread(nullptr, 0, &TDriveListing::Run, this, 0, nullptr);
  if (!thread_) Run(this);  // no thread to spare: the list now
}

TDriveListing::~TDriveListing() {
  Wait();
}

DWORD WINAPI TDriveListing::Run(void* listing) {
  auto& self = *static_cast<TDriveListing*>(listing);
  try {
    self.drives_ = ListedDrives(self.queries_);
  } catch (...) {
    self.error_ = std::current_exception();
  }
  return 0;
}

void TDriveListing::Wait() {
  if (!thread_) return;
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
  thread_ = nullptr;
}

std::vector<TListedDrive> TDriveListing::Take() {
  Wait();
  if (error_) std::rethrow_exception(error_);
  return std::move(drives_);
}

std::string DriveCaption(const TListedDrive& drive) {
  return std::string(1, drive.Letter) + ": " + DriveTypeName(drive.Type);
}

}  // namespace drive
