// Which drive letters the program lists, with the caption and image of each.
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "app/DriveQueries.h"

namespace app {

struct TListedDrive {
  char Letter;
  UINT Type;
};

// Image-list index of a drive-type code, or -1 for a code that gets no list item.
int DriveImageIndex(UINT driveType);

// The drives from A to Z whose type has an image, in letter order.
std::vector<TListedDrive> ListedDrives(const TDriveQueries& queries);

// ListedDrives on a thread of its own: the letters' type queries wait on the system while the
// caller goes on (making its windows). Take waits for the list; so does the destructor.
class TDriveListing {
 public:
  explicit TDriveListing(const TDriveQueries& queries);
  ~TDriveListing();
  TDriveListing(const TDriveListing&) = delete;
  TDriveListing& operator=(const TDriveListing&) = delete;
  // The list, or the error the listing raised.
  std::vector<TListedDrive> Take();

 private:
  static DWORD WINAPI Run(void* listing);
  void Wait();

  const TDriveQueries& queries_;
  std::vector<TListedDrive> drives_;
  std::exception_ptr error_;
  HANDLE thread_ = nullptr;
};

// "C: Festplatte".
std::string DriveCaption(const TListedDrive& drive);

}  // namespace app
