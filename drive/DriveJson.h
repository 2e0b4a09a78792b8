// The drive information as one JSON document for scripts: ASCII (so UTF-8 too), LF line ends, exact
// integers.
#pragma once

#include <string>
#include <vector>

#include "drive/DriveFields.h"
#include "drive/DriveInfo.h"

namespace drive {

// A text as a JSON string literal in ASCII: quotes, backslashes, control characters and every
// character beyond ASCII escaped (\uXXXX, a pair of them beyond the basic plane), so that a reader
// that decodes with its console's code page still gets the names whole.
std::string JsonString(const std::wstring& text);

// An array with one object per probe, in the given order, with a key for each field that has one; with
// details, each object also holds an object "details" with a key for each of those.
std::string DrivesJson(const std::vector<const TDriveInfo*>& probes, TDriveFields fields = DriveFields(),
                       TDriveFields details = {});

}  // namespace drive
