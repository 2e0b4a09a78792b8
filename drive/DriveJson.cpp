#include "drive/DriveJson.h"

#include <cstdio>

#include "drive/NumberFormat.h"
#include "runtime/Text.h"

namespace drive {

namespace {

std::string Number(unsigned long long value) {
  return std::to_string(value);
}

// total - free, which a volume may report below zero.
std::string Difference(unsigned long long total, unsigned long long free) {
  return total >= free ? Number(total - free) : "-" + Number(free - total);
}

// One "key": value line of an object; the last one has no comma.
class TObjectWriter {
 public:
  void Add(const char* key, const std::string& value) {
    if (!text_.empty()) text_ += ",\n";
    text_ += "    \"";
    text_ += key;
    text_ += "\": ";
    text_ += value;
  }
  std::string Close() const { return "  {\n" + text_ + "\n  }"; }

 private:
  std::string text_;
};

std::string DriveObject(const TDriveInfo& probe) {
  const char* const null = "null";
  const bool answered = !probe.VolumeFailed;
  TObjectWriter object;
  object.Add("letter", JsonString(std::string(1, probe.Letter)));
  object.Add("type", Number(probe.DriveType));
  object.Add("typeName", probe.DriveType != 0 ? JsonString(probe.TypeName) : null);
  object.Add("answered", answered ? "true" : "false");
  if (probe.TimedOut) object.Add("timedOut", "true");
  auto add = [&](const char* key, const std::string& value) { object.Add(key, answered ? value : null); };
  add("volumeName", JsonString(probe.WideVolumeName));
  add("fileSystem", JsonString(probe.WideFileSystem));
  add("serialNumber", Number(probe.SerialNumber));
  add("maxNameLength", Number(probe.MaxNameLength));
  add("sectorsPerCluster", Number(probe.SectorsPerCluster));
  add("bytesPerSector", Number(probe.BytesPerSector));
  add("freeClusters", Number(probe.FreeClusters));
  add("totalClusters", Number(probe.TotalClusters));
  add("freeBytes", Number(probe.ExactFreeBytes));
  add("usedBytes", Difference(probe.ExactTotalBytes, probe.ExactFreeBytes));
  add("totalBytes", Number(probe.ExactTotalBytes));
  add("userFreeBytes", Number(probe.ExactUserFreeBytes));
  add("usedPercent",
      runtime::Utf8FromWide(FormatFourDecimals(probe.UsedPercent(), runtime::TNumberSeparators{L"", L"."})));
  return object.Close();
}

}  // namespace

std::string JsonString(const std::string& cp1252) {
  return JsonString(runtime::WideFromCp1252(cp1252));
}

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

std::string DrivesJson(const std::vector<const TDriveInfo*>& probes) {
  std::string json = "[";
  for (size_t i = 0; i < probes.size(); ++i) json += (i ? ",\n" : "\n") + DriveObject(*probes[i]);
  return json + (probes.empty() ? "]\n" : "\n]\n");
}

}  // namespace drive
