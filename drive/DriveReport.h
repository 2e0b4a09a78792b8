// A drive's fields as rows of German names and values: the window's table, and the drive report
// (TDriveInfo::CreateReport) that the single-byte outputs carry.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "drive/DriveFields.h"
#include "drive/PairStringList.h"
#include "runtime/Locale.h"

namespace drive {

// A row with its name and value whole; a number's value also in a form any locale reads.
struct TDriveRow {
  std::wstring Name;
  std::wstring Value;
  TFieldKind Kind = TFieldKind::Text;
  std::wstring Number{};  // a number's value in digits with "." as the decimal point; empty for a text
};

// Whether the field's value is a number (a count, bytes, the percentage, the type code).
bool IsNumberKind(TFieldKind kind);

// A value as the rows show it, numbers with the given separators.
std::wstring FieldText(TFieldKind kind, const TFieldValue& value,
                       const runtime::TNumberSeparators& separators);

// The field's row, if it has a row name and the probe has it.
std::optional<TDriveRow> DriveRow(const TDriveInfo& probe, const TDriveField& field,
                                  const runtime::TNumberSeparators& separators);

// One row for each field that has a row name and that the probe has, in the order of the fields.
std::vector<TDriveRow> DriveRows(
    const TDriveInfo& probe, const runtime::TNumberSeparators& separators = runtime::UserNumberSeparators(),
    TDriveFields fields = DriveFields());

// Those rows as the drive report: name "=" value, in code page 1252.
std::unique_ptr<TPairStringList> CreateReport(const TDriveInfo& probe,
                                              const runtime::TNumberSeparators& separators,
                                              TDriveFields fields = DriveFields());

}  // namespace drive
