#include "drive/DriveExport.h"

#include <memory>
#include <utility>

#include "drive/DriveInfo.h"
#include "drive/DriveReport.h"
#include "runtime/Text.h"

namespace drive {

TExportTable RowsTable(const std::vector<TDriveRow>& rows) {
  TExportTable table;
  for (const TDriveRow& row : rows) table.Rows.push_back({{row.Name}, {row.Value, row.Kind, row.Number}});
  return table;
}

TExportTable DriveInfoTable(const TDriveInfo& probe, const runtime::TNumberSeparators& numbers,
                            TDriveFields fields) {
  return RowsTable(DriveRows(probe, numbers, fields));
}

TExportTable DrivesTable(const std::vector<const TDriveInfo*>& probes,
                         const runtime::TNumberSeparators& numbers, TDriveFields fields) {
  TExportTable table{{TExportRow()}, true};
  bool answered = false;
  for (const TDriveInfo* probe : probes) {
    TExportRow values;
    for (TDriveRow& row : DriveRows(*probe, numbers, fields)) {
      if (!answered && !probe->VolumeFailed) table.Rows.front().push_back({row.Name});
      values.push_back({std::move(row.Value), row.Kind, std::move(row.Number)});
    }
    answered = answered || !probe->VolumeFailed;
    table.Rows.push_back(std::move(values));
  }
  return table;
}

TExportTable FieldColumnsTable(const std::vector<const TDriveInfo*>& probes,
                               const runtime::TNumberSeparators& numbers, TDriveFields fields) {
  TExportTable table{{TExportRow()}, true};
  for (const TDriveField& field : fields)
    if (field.Name) table.Rows.front().push_back({field.Name});
  for (const TDriveInfo* probe : probes) {
    TExportRow values;
    for (const TDriveField& field : fields) {
      if (!field.Name) continue;
      std::optional<TDriveRow> row = DriveRow(*probe, field, numbers);
      values.push_back(row ? TExportCell{std::move(row->Value), row->Kind, std::move(row->Number)}
                           : TExportCell{});
    }
    table.Rows.push_back(std::move(values));
  }
  return table;
}

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

TExportLines ExportLines(const TExportTable& table, char separator) {
  TExportLines lines;
  for (const TExportRow& row : table.Rows) {
    std::wstring line;
    for (size_t i = 0; i < row.size(); ++i) {
      if (i) line += static_cast<wchar_t>(static_cast<unsigned char>(separator));
      line += ExportField(row[i].Text, separator);
    }
    lines.Add(std::move(line));
  }
  return lines;
}

std::string CsvText(const TExportTable& table, const std::wstring& decimal) {
  TExportTable plain = table;
  for (TExportRow& row : plain.Rows)
    for (TExportCell& cell : row) {
      if (cell.Number.empty()) continue;
      cell.Text = cell.Number;
      if (const size_t point = cell.Text.find(L'.'); point != std::wstring::npos)
        cell.Text.replace(point, 1, decimal);
    }
  return "\xEF\xBB\xBF" + runtime::Utf8FromWide(ExportLines(plain, kFieldSeparator).WideText());
}

TExportLines DriveInfoLines(char letter, char separator, const TDriveQueries& queries) {
  return DriveInfoLines(TDriveInfo(letter, queries), separator);
}

TExportLines DriveInfoLines(const TDriveInfo& probe, char separator,
                            const runtime::TNumberSeparators& numbers, TDriveFields fields) {
  return ExportLines(DriveInfoTable(probe, numbers, fields), separator);
}

TExportLines DrivesTableLines(const std::vector<char>& letters, char separator,
                              const TDriveQueries& queries) {
  std::vector<std::unique_ptr<TDriveInfo>> probes;
  std::vector<const TDriveInfo*> order;
  for (const char letter : letters) {
    probes.push_back(std::make_unique<TDriveInfo>(letter, queries));
    order.push_back(probes.back().get());
  }
  return DrivesTableLines(order, separator);
}

TExportLines DrivesTableLines(const std::vector<const TDriveInfo*>& probes, char separator,
                              const runtime::TNumberSeparators& numbers, TDriveFields fields) {
  return ExportLines(DrivesTable(probes, numbers, fields), separator);
}

}  // namespace drive
