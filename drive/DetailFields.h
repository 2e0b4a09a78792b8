// The fields of a drive's details: each its own row after the report's rows, and a key of the JSON
// object "details". They read the probe's details (TDriveInfo::Details) and, for the file system's
// properties and the quota, the probe's own answers; a probe without details, or a fact that Windows
// did not answer, has no row.
#pragma once

#include <vector>

#include "drive/DriveFields.h"

namespace drive {

// The details, in the order of their rows.
TDriveFields DetailFields();

// The rows of a drive's properties: its letter and type, then its details.
std::vector<TDriveField> PropertyFields();

// Offsets on this boundary suit every sector and erase-block size in use (Windows' own since Vista).
inline constexpr unsigned long long kPartitionAlignment = 1024 * 1024;

}  // namespace drive
