#include "drive/DriveReport.h"

#include "drive/DriveInfo.h"
#include "drive/NumberFormat.h"
#include "runtime/Text.h"

namespace drive {

namespace {

std::wstring WholeNumber(const TFieldValue& value, const runtime::TNumberSeparators& separators) {
  if (const auto* signedValue = std::get_if<long long>(&value))
    return FormatWholeNumber(*signedValue, separators);
  return FormatWholeNumber(std::get<unsigned long long>(value), separators);
}

}  // namespace

std::wstring FieldText(TFieldKind kind, const TFieldValue& value,
                       const runtime::TNumberSeparators& separators) {
  switch (kind) {
    case TFieldKind::Text:
    case TFieldKind::Letter:
      return std::get<std::wstring>(value);
    case TFieldKind::Count:
    case TFieldKind::TypeCode:
      return WholeNumber(value, {});
    case TFieldKind::SerialHex:
      return FormatSerialHex(std::get<unsigned long long>(value));
    case TFieldKind::Bytes:
      return WholeNumber(value, separators);
    case TFieldKind::Percent:
      return FormatFourDecimals(std::get<double>(value), separators);
    case TFieldKind::Flag:
      return std::get<bool>(value) ? L"ja" : L"nein";
    case TFieldKind::List: {
      std::wstring text;
      for (const std::wstring& item : std::get<std::vector<std::wstring>>(value))
        text += (text.empty() ? L"" : L", ") + item;
      return text;
    }
  }
  return {};
}

bool IsNumberKind(TFieldKind kind) {
  switch (kind) {
    case TFieldKind::Count:
    case TFieldKind::Bytes:
    case TFieldKind::Percent:
    case TFieldKind::TypeCode:
      return true;
    case TFieldKind::Text:
    case TFieldKind::Letter:
    case TFieldKind::SerialHex:
    case TFieldKind::Flag:
    case TFieldKind::List:
      break;
  }
  return false;
}

std::optional<TDriveRow> DriveRow(const TDriveInfo& probe, const TDriveField& field,
                                  const runtime::TNumberSeparators& separators) {
  if (!field.Name || !HasField(probe, field)) return std::nullopt;
  const TFieldValue value = field.Read(probe);
  std::wstring text = FieldText(field.Kind, value, separators);
  if (field.Kind == TFieldKind::Flag && field.Yes) text = std::get<bool>(value) ? field.Yes : field.No;
  return TDriveRow{field.Name, std::move(text), field.Kind,
                   IsNumberKind(field.Kind) ? FieldText(field.Kind, value, {L"", L"."}) : L""};
}

std::vector<TDriveRow> DriveRows(const TDriveInfo& probe, const runtime::TNumberSeparators& separators,
                                 TDriveFields fields) {
  std::vector<TDriveRow> rows;
  for (const TDriveField& field : fields)
    if (std::optional<TDriveRow> row = DriveRow(probe, field, separators)) rows.push_back(std::move(*row));
  return rows;
}

std::unique_ptr<TPairStringList> CreateReport(const TDriveInfo& probe,
                                              const runtime::TNumberSeparators& separators,
                                              TDriveFields fields) {
  auto report = std::make_unique<TPairStringList>();
  for (const TDriveRow& row : DriveRows(probe, separators, fields))
    report->Add(runtime::Cp1252FromWide(row.Name + L"=" + row.Value));
  return report;
}

// Reads the separators once per report, so that a change of the regional settings shows in the next.
std::unique_ptr<TPairStringList> TDriveInfo::CreateReport() const {
  return drive::CreateReport(*this, runtime::UserNumberSeparators());
}

}  // namespace drive
