// Which drive letters the program lists, with the caption and image of each.
#pragma once

#include <windows.h>

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

// "C: Festplatte".
std::string DriveCaption(const TListedDrive& drive);

}  // namespace app
