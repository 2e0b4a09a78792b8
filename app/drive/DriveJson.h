// The drive information as one JSON document for scripts: UTF-8, LF line ends, exact integers.
#pragma once

#include <string>
#include <vector>

#include "app/drive/DriveInfo.h"

namespace app {

// A text in the ANSI code page as a JSON string literal in UTF-8, with quotes, backslashes and
// control characters escaped.
std::string JsonString(const std::string& ansi);

// An array with one object per probe, in the given order.
std::string DrivesJson(const std::vector<const TDriveInfo*>& probes);

}  // namespace app
