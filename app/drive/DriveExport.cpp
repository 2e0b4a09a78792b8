#include "app/drive/DriveExport.h"

#include "app/drive/DriveInfo.h"

namespace app {

std::string ExportField(const std::string& field, char separator) {
  if (field.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string::npos) return field;
  std::string quoted = "\"";
  for (char c : field) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

tk::TStringList DriveInfoLines(char letter, char separator, const TDriveQueries& queries) {
  return DriveInfoLines(TDriveInfo(letter, queries), separator);
}

tk::TStringList DriveInfoLines(const TDriveInfo& probe, char separator) {
  const auto report = probe.CreateReport();
  tk::TStringList lines;
  for (int i = 0; i < report->Count(); ++i)
    lines.Add(ExportField(report->NameAt(i), separator) + separator +
              ExportField(report->ValueAt(i), separator));
  return lines;
}

namespace {

// Adds a probe's line of values to the table; the first probe that answered gives the header.
void AddTableLine(const TDriveInfo& probe, char separator, std::string& header, tk::TStringList& lines) {
  const auto report = probe.CreateReport();
  if (header.empty() && !probe.VolumeFailed) {
    header = ExportField(report->NameAt(0), separator);
    for (int i = 1; i < report->Count(); ++i) header += separator + ExportField(report->NameAt(i), separator);
  }
  std::string line = ExportField(report->ValueAt(0), separator);
  for (int i = 1; i < report->Count(); ++i) line += separator + ExportField(report->ValueAt(i), separator);
  lines.Add(line);
}

}  // namespace

tk::TStringList DrivesTableLines(const std::vector<char>& letters, char separator,
                                 const TDriveQueries& queries) {
  tk::TStringList lines;
  std::string header;
  for (char letter : letters) AddTableLine(TDriveInfo(letter, queries), separator, header, lines);
  lines.Insert(0, header);
  return lines;
}

tk::TStringList DrivesTableLines(const std::vector<const TDriveInfo*>& probes, char separator) {
  tk::TStringList lines;
  std::string header;
  for (const TDriveInfo* probe : probes) AddTableLine(*probe, separator, header, lines);
  lines.Insert(0, header);
  return lines;
}

}  // namespace app
