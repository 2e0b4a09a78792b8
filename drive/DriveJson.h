// The drive information as one JSON document for scripts: UTF-8, LF line ends, exact integers.
#pragma once

#include <string>
#include <vector>

#include "drive/DriveInfo.h"

namespace drive {

// A text as a JSON string literal in UTF-8, with quotes, backslashes and control characters
// escaped; the program's own texts are code page 1252.
std::string JsonString(const std::wstring& text);
std::string JsonString(const std::string& cp1252);

// An array with one object per probe, in the given order.
std::string DrivesJson(const std::vector<const TDriveInfo*>& probes);

}  // namespace drive
