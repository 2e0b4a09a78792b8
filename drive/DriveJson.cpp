#include "drive/DriveJson.h"

#include <cstdio>

#include "drive/DriveReport.h"
#include "runtime/Text.h"

namespace drive {

namespace {

// A present field's value in JSON: texts as strings, numbers exact, the percentage with a point
// whatever the locale.
std::string JsonValue(TFieldKind kind, const TFieldValue& value) {
  switch (kind) {
    case TFieldKind::Text:
    case TFieldKind::Letter:
    case TFieldKind::SerialHex:
      return JsonString(FieldText(kind, value, {}));
    case TFieldKind::Flag:
      return std::get<bool>(value) ? "true" : "false";
    case TFieldKind::List: {
      std::string list;
      for (const std::wstring& item : std::get<std::vector<std::wstring>>(value))
        list += (list.empty() ? "" : ", ") + JsonString(item);
      return "[" + list + "]";
    }
    case TFieldKind::Count:
    case TFieldKind::Bytes:
    case TFieldKind::Percent:
    case TFieldKind::TypeCode:
      break;
  }
  return runtime::Utf8FromWide(FieldText(kind, value, {L"", L"."}));
}

// One "key": value line for each field with a key, indented.
std::string Members(const TDriveInfo& probe, TDriveFields fields, const std::string& indent) {
  std::string text;
  for (const TDriveField& field : fields) {
    if (!field.Key) continue;
    const bool has = HasField(probe, field);
    text += (text.empty() ? "" : ",\n") + indent + "\"";
    text += field.Key;
    text += "\": ";
    text += has ? JsonValue(field.Kind, field.Read(probe)) : "null";
  }
  return text;
}

// The drive's members, and with details an object of theirs.
std::string DriveObject(const TDriveInfo& probe, TDriveFields fields, TDriveFields details) {
  std::string text = Members(probe, fields, "    ");
  if (!details.empty()) text += ",\n    \"details\": {\n" + Members(probe, details, "      ") + "\n    }";
  return "  {\n" + text + "\n  }";
}

}  // namespace

std::string JsonString(const std::wstring& text) {
  // ASCII only: whatever code page a reader decodes with, the document reads the same.
  std::string json = "\"";
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned c = text[i];
    switch (c) {
      case '"':
        json += "\\\"";
        continue;
      case '\\':
        json += "\\\\";
        continue;
      case '\n':
        json += "\\n";
        continue;
      case '\r':
        json += "\\r";
        continue;
      case '\t':
        json += "\\t";
        continue;
      default:
        break;
    }
    if (c >= 0x20 && c < 0x7F) {
      json += static_cast<char>(c);
      continue;
    }
    // A surrogate pair stays a pair of escapes; a lone surrogate is no character and becomes U+FFFD.
    const bool high = c >= 0xD800 && c < 0xDC00, low = c >= 0xDC00 && c < 0xE000;
    const bool paired = high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
    char escape[16];
    if (paired) {
      std::snprintf(escape, sizeof(escape), "\\u%04x\\u%04x", c, static_cast<unsigned>(text[++i]));
    } else {
      std::snprintf(escape, sizeof(escape), "\\u%04x", high || low ? 0xFFFDu : c);
    }
    json += escape;
  }
  return json + "\"";
}

std::string DrivesJson(const std::vector<const TDriveInfo*>& probes, TDriveFields fields,
                       TDriveFields details) {
  std::string json = "[";
  for (size_t i = 0; i < probes.size(); ++i)
    json += (i ? ",\n" : "\n") + DriveObject(*probes[i], fields, details);
  return json + (probes.empty() ? "]\n" : "\n]\n");
}

}  // namespace drive
