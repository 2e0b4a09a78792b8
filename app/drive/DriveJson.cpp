#include "app/drive/DriveJson.h"

#include <windows.h>

#include <cstdio>

#include "app/drive/NumberFormat.h"

namespace app {

namespace {

std::string AnsiToUtf8(const std::string& ansi) {
  if (ansi.empty()) return "";
  const int wide = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), text.data(), wide);
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}

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
  add("volumeName", JsonString(probe.VolumeName));
  add("fileSystem", JsonString(probe.FileSystem));
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
  add("usedPercent", FormatFourDecimals(probe.UsedPercent(), TNumberSeparators{"", "."}));
  return object.Close();
}

}  // namespace

std::string JsonString(const std::string& ansi) {
  std::string json = "\"";
  for (const char c : AnsiToUtf8(ansi)) {
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

}  // namespace app
