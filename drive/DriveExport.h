// Drive information as separated text for the clipboard and the console report.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "drive/DriveFields.h"
#include "drive/DriveQueries.h"
#include "runtime/Locale.h"

namespace drive {

class TDriveInfo;

// The field separator of every export.
inline constexpr char kFieldSeparator = ';';

// A field as it stands, unless it holds the separator, a double quote, CR or LF: then it is
// enclosed in double quotes with inner double quotes doubled, as spreadsheets read it, so that
// it cannot shift the fields after it.
std::wstring ExportField(const std::wstring& field, char separator);

// The lines of an export with the names whole, and as the single-byte outputs carry them.
class TExportLines {
 public:
  void Add(std::wstring line) { lines_.push_back(std::move(line)); }
  void Insert(size_t index, std::wstring line) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), std::move(line));
  }
  // All lines, each followed by CR LF.
  std::wstring WideText() const;
  // WideText() in code page 1252: today's bytes for every name that fits it, '?' for what does not.
  std::string Text() const;

 private:
  std::vector<std::wstring> lines_;
};

// One line "name;value" per row of the drive's report. The rows come from the fields, their numbers
// with the given separators (the user's unless given).
TExportLines DriveInfoLines(char letter, char separator, const TDriveQueries& queries);
TExportLines DriveInfoLines(const TDriveInfo& probe, char separator,
                            const runtime::TNumberSeparators& numbers = runtime::UserNumberSeparators(),
                            TDriveFields fields = DriveFields());

// The all-drives table: the row names of the first drive that answered its volume query as the
// header line (empty when none did), then one line of values per drive, in the given order.
TExportLines DrivesTableLines(const std::vector<char>& letters, char separator, const TDriveQueries& queries);
// The same table of probes made already.
TExportLines DrivesTableLines(const std::vector<const TDriveInfo*>& probes, char separator,
                              const runtime::TNumberSeparators& numbers = runtime::UserNumberSeparators(),
                              TDriveFields fields = DriveFields());

}  // namespace drive
