// TDriveInfo::CreateReport: the one textual form of a drive probe.
#include <string>

#include "drive/DriveInfo.h"
#include "drive/NumberFormat.h"
#include "runtime/Text.h"

namespace drive {

namespace {
const char kVolumeNameRow[] = "Volume-Name";
const char kFileSystemRow[] = "Filesystem";
}  // namespace

std::unique_ptr<TPairStringList> TDriveInfo::CreateReport() const {
  auto report = std::make_unique<TPairStringList>();
  auto add = [&](const char* name, const std::string& value) {
    report->Add(std::string(name) + "=" + value);
  };

  add("Laufwerksbuchstabe", std::string(1, Letter));
  if (DriveType != 0) add("Laufwerkstyp", TypeName);
  if (VolumeFailed) return report;

  // Read once per report, so that a change of the regional settings shows in the next report.
  const runtime::TNumberSeparators separators = runtime::UserNumberSeparators();
  add(kVolumeNameRow, VolumeName);
  add(kFileSystemRow, FileSystem);
  add("Seriennummer", std::to_string(SerialNumber));
  add("Seriennummer (Hex)", SerialHex());
  add("Länge Dateiname", std::to_string(MaxNameLength));
  add("Sektoren/Cluster", std::to_string(SectorsPerCluster));
  add("Bytes/Sektor", std::to_string(BytesPerSector));
  add("Freie Cluster", std::to_string(FreeClusters));
  add("Cluster gesamt", std::to_string(TotalClusters));
  auto number = [](const std::wstring& text) { return runtime::Cp1252FromWide(text); };
  add("frei (Bytes)", number(FormatWholeNumber(ExactFreeBytes, separators)));
  add("belegt (Bytes)",
      number(FormatWholeNumber(static_cast<long long>(ExactTotalBytes - ExactFreeBytes), separators)));
  add("gesamt (Bytes)", number(FormatWholeNumber(ExactTotalBytes, separators)));
  add("frei für Benutzer (Bytes)", number(FormatWholeNumber(ExactUserFreeBytes, separators)));
  add("belegt (%)", number(FormatFourDecimals(UsedPercent(), separators)));
  return report;
}

std::vector<TWideRow> TDriveInfo::CreateWideReport() const {
  const auto report = CreateReport();
  std::vector<TWideRow> rows;
  for (int i = 0; i < report->Count(); ++i) {
    const std::string name = report->NameAt(i);
    // Every other text is the program's own, in code page 1252.
    std::wstring value = name == kVolumeNameRow   ? WideVolumeName
                         : name == kFileSystemRow ? WideFileSystem
                                                  : runtime::WideFromCp1252(report->ValueAt(i));
    rows.push_back({runtime::WideFromCp1252(name), std::move(value)});
  }
  return rows;
}

}  // namespace drive
