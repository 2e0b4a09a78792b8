// The drive information as one JSON document for scripts: UTF-8, LF line ends, exact integers.
#pragma once

#include <string>
#include <vector>

#include "drive/DriveFields.h"
#include "drive/DriveInfo.h"

namespace drive {

// A text as a JSON string literal in UTF-8, with quotes, backslashes and control characters
// escaped.
std::string JsonString(const std::wstring& text);

// An array with one object per probe, in the given order, with a key for each field that has one.
std::string DrivesJson(const std::vector<const TDriveInfo*>& probes, TDriveFields fields = DriveFields());

}  // namespace drive
