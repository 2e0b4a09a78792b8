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
    case TFieldKind::Count:
    case TFieldKind::Bytes:
    case TFieldKind::Percent:
    case TFieldKind::TypeCode:
      break;
  }
  return runtime::Utf8FromWide(FieldText(kind, value, {L"", L"."}));
}

// One "key": value line for each field with a key.
std::string DriveObject(const TDriveInfo& probe, TDriveFields fields) {
  std::string text;
  for (const TDriveField& field : fields) {
    if (!field.Key) continue;
    const bool has = HasField(probe, field);
    if (!has && field.Presence == TPresence::TimedOut) continue;
    text += text.empty() ? "    \"" : ",\n    \"";
    text += field.Key;
    text += "\": ";
    text += has ? JsonValue(field.Kind, field.Read(probe)) : "null";
  }
  return "  {\n" + text + "\n  }";
}

}  // namespace

std::string JsonString(const std::wstring& text) {
  std::string json = "\"";
  for (const char c : runtime::Utf8FromWide(text)) {
    switch (c) {
      case '"':
        json += "\\\"";
        break;
      case '\\':
        json += "\\\\";
        break;
      case '\n':
        json += "\\n";
        break;
      case '\r':
        json += "\\r";
        break;
      case '\t':
        json += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof(escape), "\\u%04x",
                        static_cast<unsigned>(static_cast<unsigned char>(c)));
          json += escape;
        } else {
          json += c;
        }
    }
  }
  return json + "\"";
}

std::string DrivesJson(const std::vector<const TDriveInfo*>& probes, TDriveFields fields) {
  std::string json = "[";
  for (size_t i = 0; i < probes.size(); ++i) json += (i ? ",\n" : "\n") + DriveObject(*probes[i], fields);
  return json + (probes.empty() ? "]\n" : "\n]\n");
}

}  // namespace drive
