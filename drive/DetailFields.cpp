#include "drive/DetailFields.h"

#include <cstring>
#include <type_traits>

#include "drive/DriveInfo.h"
#include "drive/StorageDetails.h"

namespace drive {

namespace {

// A detail as it was answered; empty where it was not, or where no details were asked.
template <auto Member>
TFieldValue DetailOf(const TDriveInfo& probe) {
  if (!probe.Details) return std::monostate{};
  const auto& answer = (*probe.Details).*Member;
  if (!answer) return std::monostate{};
  if constexpr (std::is_same_v<std::decay_t<decltype(*answer)>, DWORD>)
    return static_cast<unsigned long long>(*answer);
  else
    return *answer;
}

// A code's name, where it has one.
template <auto Member, std::wstring (*Name)(DWORD)>
TFieldValue NameOf(const TDriveInfo& probe) {
  if (!probe.Details || !((*probe.Details).*Member)) return std::monostate{};
  std::wstring name = Name(*((*probe.Details).*Member));
  if (name.empty()) return std::monostate{};
  return name;
}

TFieldValue MountPointsOf(const TDriveInfo& probe) {
  if (!probe.Details || probe.Details->MountPoints.empty()) return std::monostate{};
  return probe.Details->MountPoints;
}

TFieldValue IsAligned(const TDriveInfo& probe) {
  if (!probe.Details || !probe.Details->PartitionOffset) return std::monostate{};
  return *probe.Details->PartitionOffset % kPartitionAlignment == 0;
}

// Less free for the user than on the volume: a quota limits the user.
TFieldValue QuotaLimitsUser(const TDriveInfo& probe) {
  if (!probe.Details || probe.VolumeFailed) return std::monostate{};
  return probe.UserFreeBytes < probe.FreeBytes;
}

// A property of the file system from the volume query's flags.
template <DWORD Flag>
TFieldValue FileSystemHas(const TDriveInfo& probe) {
  if (!probe.Details || probe.VolumeFailed) return std::monostate{};
  return (probe.FileSystemFlags & Flag) != 0;
}

using S = TStorageDetails;
using enum TPresence;
using enum TFieldKind;

const TDriveField kDetails[] = {
    {"volumeGuidPath", L"Volume-GUID-Pfad", Reported, Text, DetailOf<&S::VolumeGuidPath>},
    {"mountPoints", L"Bereitstellungspunkte", Reported, List, MountPointsOf},
    {"share", L"Netzwerkfreigabe", Reported, Text, DetailOf<&S::Share>},
    {"seekPenalty", L"Medium", Reported, Flag, DetailOf<&S::SeekPenalty>, L"rotierend (mit Suchzeit)",
     L"Halbleiter (ohne Suchzeit)"},
    {"trim", L"TRIM", Reported, Flag, DetailOf<&S::Trim>},
    {"busType", L"Bus", Reported, Text, NameOf<&S::BusType, BusTypeName>},
    {"vendor", L"Hersteller", Reported, Text, DetailOf<&S::Vendor>},
    {"product", L"Modell", Reported, Text, DetailOf<&S::Product>},
    {"revision", L"Firmware-Revision", Reported, Text, DetailOf<&S::Revision>},
    {"deviceSerial", L"Seriennummer des Geräts", Reported, Text, DetailOf<&S::Serial>},
    {"removableMedia", L"Wechselmedium", Reported, Flag, DetailOf<&S::Removable>},
    {"diskNumber", L"Datenträgernummer", Reported, Count, DetailOf<&S::DiskNumber>},
    {"partitionNumber", L"Partitionsnummer", Reported, Count, DetailOf<&S::PartitionNumber>},
    {"partitionStyle", L"Partitionsstil", Reported, Text, NameOf<&S::PartitionStyle, PartitionStyleName>},
    {"partitionOffset", L"Partitionsbeginn (Bytes)", Reported, Bytes, DetailOf<&S::PartitionOffset>},
    {"partitionLength", L"Partitionsgröße (Bytes)", Reported, Bytes, DetailOf<&S::PartitionLength>},
    {"alignedTo1MiB", L"Beginn auf 1 MiB ausgerichtet", Reported, Flag, IsAligned},
    {"quotaLimitsUser", L"Kontingent begrenzt Benutzer", Reported, Flag, QuotaLimitsUser},
    {"caseSensitiveSearch", L"Groß-/Kleinschreibung unterschieden", Reported, Flag,
     FileSystemHas<FILE_CASE_SENSITIVE_SEARCH>},
    {"casePreservedNames", L"Groß-/Kleinschreibung erhalten", Reported, Flag,
     FileSystemHas<FILE_CASE_PRESERVED_NAMES>},
    {"unicodeNames", L"Unicode-Dateinamen", Reported, Flag, FileSystemHas<FILE_UNICODE_ON_DISK>},
    {"accessControlLists", L"Zugriffsrechte (ACL)", Reported, Flag, FileSystemHas<FILE_PERSISTENT_ACLS>},
    {"compression", L"Komprimierung", Reported, Flag, FileSystemHas<FILE_FILE_COMPRESSION>},
    {"volumeCompressed", L"Volume komprimiert", Reported, Flag, FileSystemHas<FILE_VOLUME_IS_COMPRESSED>},
    {"encryption", L"Verschlüsselung (EFS)", Reported, Flag, FileSystemHas<FILE_SUPPORTS_ENCRYPTION>},
    {"quotas", L"Datenträgerkontingente", Reported, Flag, FileSystemHas<FILE_VOLUME_QUOTAS>},
    {"sparseFiles", L"Sparse-Dateien", Reported, Flag, FileSystemHas<FILE_SUPPORTS_SPARSE_FILES>},
    {"reparsePoints", L"Analysepunkte", Reported, Flag, FileSystemHas<FILE_SUPPORTS_REPARSE_POINTS>},
    {"objectIds", L"Objekt-IDs", Reported, Flag, FileSystemHas<FILE_SUPPORTS_OBJECT_IDS>},
    {"hardLinks", L"Hardlinks", Reported, Flag, FileSystemHas<FILE_SUPPORTS_HARD_LINKS>},
    {"namedStreams", L"Benannte Datenströme", Reported, Flag, FileSystemHas<FILE_NAMED_STREAMS>},
    {"extendedAttributes", L"Erweiterte Attribute", Reported, Flag,
     FileSystemHas<FILE_SUPPORTS_EXTENDED_ATTRIBUTES>},
    {"transactions", L"Transaktionen", Reported, Flag, FileSystemHas<FILE_SUPPORTS_TRANSACTIONS>},
    {"usnJournal", L"Änderungsjournal (USN)", Reported, Flag, FileSystemHas<FILE_SUPPORTS_USN_JOURNAL>},
    {"readOnlyVolume", L"Schreibgeschützt", Reported, Flag, FileSystemHas<FILE_READ_ONLY_VOLUME>},
};

}  // namespace

TDriveFields DetailFields() {
  return kDetails;
}

std::vector<TDriveField> PropertyFields() {
  std::vector<TDriveField> fields;
  for (const TDriveField& field : DriveFields())
    if (field.Key && (std::strcmp(field.Key, "letter") == 0 || std::strcmp(field.Key, "typeName") == 0))
      fields.push_back(field);
  fields.insert(fields.end(), DetailFields().begin(), DetailFields().end());
  return fields;
}

}  // namespace drive
