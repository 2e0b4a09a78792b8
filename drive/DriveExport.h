// Drive information as tables for the clipboard, files and the console report: separated text, CSV,
// and the typed cells that the HTML table carries.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "drive/DriveFields.h"
#include "drive/DriveQueries.h"
#include "drive/DriveReport.h"
#include "runtime/Locale.h"

namespace drive {

class TDriveInfo;

// The field separator of every export.
inline constexpr char kFieldSeparator = ';';
// The language of the exports' single-byte text: German, code page 1252.
inline constexpr LCID kExportTextLocale = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);

// A cell: its text as the table shows it and, for a number, its kind and value (digits with "."
// as the decimal point) in a form that reads the same in any locale.
struct TExportCell {
  std::wstring Text;
  TFieldKind Kind = TFieldKind::Text;
  std::wstring Number{};
};
using TExportRow = std::vector<TExportCell>;

// An export before it is written out: rows of cells; with Header, the first row names the columns.
struct TExportTable {
  std::vector<TExportRow> Rows;
  bool Header = false;
};

// One row "name, value" per row.
TExportTable RowsTable(const std::vector<TDriveRow>& rows);
// One row "name, value" per row of the drive's report, numbers with the given separators.
TExportTable DriveInfoTable(const TDriveInfo& probe,
                            const runtime::TNumberSeparators& numbers = runtime::UserNumberSeparators(),
                            TDriveFields fields = DriveFields());
// The all-drives table: the row names of the first drive that answered its volume query as the
// header (an empty row when none did), then one row of values per drive, in the given order.
TExportTable DrivesTable(const std::vector<const TDriveInfo*>& probes,
                         const runtime::TNumberSeparators& numbers = runtime::UserNumberSeparators(),
                         TDriveFields fields = DriveFields());

// The all-drives table with a column for each field that has a row name, in the fields' order: a drive
// without a field has an empty cell there, so that a column holds one field in every row.
TExportTable FieldColumnsTable(const std::vector<const TDriveInfo*>& probes,
                               const runtime::TNumberSeparators& numbers, TDriveFields fields);

// A field as it stands, unless it holds the separator, a double quote, CR or LF: then it is
// enclosed in double quotes with inner double quotes doubled, as spreadsheets read it, so that
// it cannot shift the fields after it.
std::wstring ExportField(const std::wstring& field, char separator);

// The lines of an export with the names whole, and as the single-byte outputs carry them.
class TExportLines {
 public:
  void Add(std::wstring line) { lines_.push_back(std::move(line)); }
  // All lines, each followed by CR LF.
  std::wstring WideText() const;
  // WideText() in code page 1252: today's bytes for every name that fits it, '?' for what does not.
  std::string Text() const;

 private:
  std::vector<std::wstring> lines_;
};

// The table's rows as lines of fields, each field as ExportField writes it.
TExportLines ExportLines(const TExportTable& table, char separator);

// The table as a CSV file (RFC 4180, the fields ";"-separated as German spreadsheets expect them):
// UTF-8 with a byte order mark, so that a spreadsheet opened by a double-click reads every name.
// Numbers are written without grouping (a spreadsheet in another locale would read "4.096" as a
// fraction), with the given decimal separator.
std::string CsvText(const TExportTable& table, const std::wstring& decimal);

// The lines of one drive (DriveInfoTable) and of the all-drives table (DrivesTable).
TExportLines DriveInfoLines(char letter, char separator, const TDriveQueries& queries);
TExportLines DriveInfoLines(const TDriveInfo& probe, char separator,
                            const runtime::TNumberSeparators& numbers = runtime::UserNumberSeparators(),
                            TDriveFields fields = DriveFields());
TExportLines DrivesTableLines(const std::vector<char>& letters, char separator, const TDriveQueries& queries);
TExportLines DrivesTableLines(const std::vector<const TDriveInfo*>& probes, char separator,
                              const runtime::TNumberSeparators& numbers = runtime::UserNumberSeparators(),
                              TDriveFields fields = DriveFields());

}  // namespace drive
