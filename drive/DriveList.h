// Which drive letters the program lists, with the caption of each.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "drive/DriveQueries.h"
#include "runtime/DeadlineCall.h"

namespace drive {

struct TListedDrive {
  char Letter;
  UINT Type;
};

// Whether a drive of this type code is listed: removable, fixed, RAM disk, remote and CD-ROM drives
// are; a letter without root directory or of unknown type is not.
bool IsListedDriveType(UINT driveType);

// The drives from A to Z whose type is listed, in letter order.
std::vector<TListedDrive> ListedDrives(const TDriveQueries& queries);

// ListedDrives on a thread of its own: the letters' type queries wait on the system while the
// caller goes on (making its windows). Take waits for the list; so does the destructor, since the
// work asks the caller's queries.
class TDriveListing {
 public:
  explicit TDriveListing(const TDriveQueries& queries);
  ~TDriveListing();
  TDriveListing(const TDriveListing&) = delete;
  TDriveListing& operator=(const TDriveListing&) = delete;
  // The list, or the error the listing raised; the list is handed out once.
  std::vector<TListedDrive> Take();

 private:
  runtime::TDeadlineCall<std::vector<TListedDrive>> call_;
};

// "C: Festplatte".
std::wstring DriveCaption(const TListedDrive& drive);

}  // namespace drive
