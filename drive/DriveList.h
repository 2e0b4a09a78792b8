// Which drive letters the program lists, with the caption of each.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "drive/DriveQueries.h"

namespace drive {

struct TListedDrive {
  char Letter;
  UINT Type;
};

// Whether a drive of this type code is listed: removable, fixed, RAM disk, remote and CD-ROM drives
// are; a letter without root directory or of unknown type is not.
bool IsListedDriveType(UINT driveType);

// "C: Festplatte".
std::wstring DriveCaption(const TListedDrive& drive);

}  // namespace drive
