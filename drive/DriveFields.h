// The one list of a drive's fields: each names its JSON key and its German row name once, says when
// a probe has it and reads its typed value from the probe. The report, the window's table, the
// clipboard texts and JSON are rendered from the list, so a new field is one entry.
#pragma once

#include <span>
#include <string>
#include <variant>
#include <vector>

namespace drive {

class TDriveInfo;

// When a probe has the field. Without it the field has no row, and in JSON the value null.
enum class TPresence {
  Always,
  Typed,     // the drive-type code is not 0
  Answered,  // the volume query answered
  Reported,  // the field's query answered: its value is not empty (std::monostate)
};

// How the field's value is written; the value's type follows from it.
enum class TFieldKind {
  Text,       // std::wstring, whole
  Letter,     // std::wstring of the one letter
  Count,      // unsigned long long, in decimal
  SerialHex,  // unsigned long long, as eight upper-case hexadecimal digits
  Bytes,      // unsigned long long, or long long where it may be below zero; grouped by thousands
  Percent,    // double, with four decimals
  TypeCode,   // unsigned long long, the drive-type code
  Flag,       // bool
  List,       // std::vector<std::wstring>, each whole
};

// A typed value: texts whole, integers exact, the percentage as a number; empty where a query of
// the field did not answer.
using TFieldValue = std::variant<std::wstring, unsigned long long, long long, double, bool,
                                 std::vector<std::wstring>, std::monostate>;

struct TDriveField {
  const char* Key;      // in JSON; null: not in JSON
  const wchar_t* Name;  // the row name of the report; null: no row
  TPresence Presence;
  TFieldKind Kind;
  TFieldValue (*Read)(const TDriveInfo& probe);
  // A flag's words in rows and tables in place of "ja" and "nein"; null: those.
  const wchar_t* Yes = nullptr;
  const wchar_t* No = nullptr;
};

using TDriveFields = std::span<const TDriveField>;

// The program's fields, in the order of the report's rows and of JSON's keys.
TDriveFields DriveFields();

// Whether the probe has the field, by its presence.
bool HasField(const TDriveInfo& probe, const TDriveField& field);

}  // namespace drive
