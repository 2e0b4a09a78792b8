#include "drive/DriveExport.h"

#include <utility>

#include "drive/DriveInfo.h"
#include "drive/DriveReport.h"
#include "runtime/Text.h"

namespace drive {

std::wstring ExportField(const std::wstring& field, char separator) {
  const wchar_t special[] = {static_cast<unsigned char>(separator), L'"', L'\r', L'\n', 0};
  if (field.find_first_of(special) == std::wstring::npos) return field;
  std::wstring quoted(1, L'"');
  for (const wchar_t c : field) {
    if (c == L'"') quoted += c;
    quoted += c;
  }
  quoted += L'"';
  return quoted;
}

std::wstring TExportLines::WideText() const {
  std::wstring text;
  for (const std::wstring& line : lines_) text += line + L"\r\n";
  return text;
}

std::string TExportLines::Text() const {
  return runtime::Cp1252FromWide(WideText());
}

TExportLines DriveInfoLines(char letter, char separator, const TDriveQueries& queries) {
  return DriveInfoLines(TDriveInfo(letter, queries), separator);
}

TExportLines DriveInfoLines(const TDriveInfo& probe, char separator,
                            const runtime::TNumberSeparators& numbers, TDriveFields fields) {
  const wchar_t between = static_cast<unsigned char>(separator);
  TExportLines lines;
  for (const TDriveRow& row : DriveRows(probe, numbers, fields))
    lines.Add(ExportField(row.Name, separator) + between + ExportField(row.Value, separator));
  return lines;
}

namespace {

// The rows' names or values as the fields of one line.
std::wstring Joined(const std::vector<TDriveRow>& rows, std::wstring TDriveRow::*part, char separator) {
  std::wstring line;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (i) line += static_cast<wchar_t>(static_cast<unsigned char>(separator));
    line += ExportField(rows[i].*part, separator);
  }
  return line;
}

// The all-drives table, a drive at a time.
class TTable {
 public:
  TTable(char separator, runtime::TNumberSeparators numbers, TDriveFields fields)
      : separator_(separator), numbers_(std::move(numbers)), fields_(fields) {}
  void Add(const TDriveInfo& probe) {
    const std::vector<TDriveRow> rows = DriveRows(probe, numbers_, fields_);
    if (!answered_ && !probe.VolumeFailed) {
      answered_ = true;
      header_ = Joined(rows, &TDriveRow::Name, separator_);
    }
    lines_.Add(Joined(rows, &TDriveRow::Value, separator_));
  }
  TExportLines Lines() {
    lines_.Insert(0, header_);
    return std::move(lines_);
  }

 private:
  char separator_;
  runtime::TNumberSeparators numbers_;
  TDriveFields fields_;
  bool answered_ = false;
  std::wstring header_;
  TExportLines lines_;
};

}  // namespace

TExportLines DrivesTableLines(const std::vector<char>& letters, char separator,
                              const TDriveQueries& queries) {
  TTable table(separator, runtime::UserNumberSeparators(), DriveFields());
  for (const char letter : letters) table.Add(TDriveInfo(letter, queries));
  return table.Lines();
}

TExportLines DrivesTableLines(const std::vector<const TDriveInfo*>& probes, char separator,
                              const runtime::TNumberSeparators& numbers, TDriveFields fields) {
  TTable table(separator, numbers, fields);
  for (const TDriveInfo* probe : probes) table.Add(*probe);
  return table.Lines();
}

}  // namespace drive
