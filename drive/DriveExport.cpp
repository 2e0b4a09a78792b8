#include "drive/DriveExport.h"

#include "drive/DriveInfo.h"
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

TExportLines DriveInfoLines(const TDriveInfo& probe, char separator) {
  const wchar_t between = static_cast<unsigned char>(separator);
  TExportLines lines;
  for (const TWideRow& row : probe.CreateWideReport())
    lines.Add(ExportField(row.Name, separator) + between + ExportField(row.Value, separator));
  return lines;
}

namespace {

// Adds a probe's line of values to the table; the first probe that answered gives the header.
void AddTableLine(const TDriveInfo& probe, char separator, std::wstring& header, bool& answered,
                  TExportLines& lines) {
  const wchar_t between = static_cast<unsigned char>(separator);
  const std::vector<TWideRow> report = probe.CreateWideReport();
  if (!answered && !probe.VolumeFailed) {
    answered = true;
    header = ExportField(report[0].Name, separator);
    for (size_t i = 1; i < report.size(); ++i) header += between + ExportField(report[i].Name, separator);
  }
  std::wstring line = ExportField(report[0].Value, separator);
  for (size_t i = 1; i < report.size(); ++i) line += between + ExportField(report[i].Value, separator);
  lines.Add(line);
}

}  // namespace

TExportLines DrivesTableLines(const std::vector<char>& letters, char separator,
                              const TDriveQueries& queries) {
  TExportLines lines;
  std::wstring header;
  bool answered = false;
  for (char letter : letters) AddTableLine(TDriveInfo(letter, queries), separator, header, answered, lines);
  lines.Insert(0, header);
  return lines;
}

TExportLines DrivesTableLines(const std::vector<const TDriveInfo*>& probes, char separator) {
  TExportLines lines;
  std::wstring header;
  bool answered = false;
  for (const TDriveInfo* probe : probes) AddTableLine(*probe, separator, header, answered, lines);
  lines.Insert(0, header);
  return lines;
}

}  // namespace drive
