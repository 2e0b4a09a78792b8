// Drive information as separated text for the clipboard and the console report.
#pragma once

#include <string>
#include <vector>

#include "app/drive/DriveQueries.h"
#include "runtime/StringList.h"

namespace app {

class TDriveInfo;

// The field separator of every export.
inline constexpr char kFieldSeparator = ';';

// A field as it stands, unless it holds the separator, a double quote, CR or LF: then it is
// enclosed in double quotes with inner double quotes doubled, as spreadsheets read it, so that
// it cannot shift the fields after it.
std::string ExportField(const std::string& field, char separator);

// One line "name;value" per row of the drive's report.
tk::TStringList DriveInfoLines(char letter, char separator, const TDriveQueries& queries);
tk::TStringList DriveInfoLines(const TDriveInfo& probe, char separator);

// The all-drives table: the row names of the first drive that answered its volume query as the
// header line (empty when none did), then one line of values per drive, in the given order.
tk::TStringList DrivesTableLines(const std::vector<char>& letters, char separator,
                                 const TDriveQueries& queries);
// The same table of probes made already.
tk::TStringList DrivesTableLines(const std::vector<const TDriveInfo*>& probes, char separator);

}  // namespace app
