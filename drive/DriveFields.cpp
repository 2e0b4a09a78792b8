#include "drive/DriveFields.h"

#include "drive/DriveInfo.h"

namespace drive {

namespace {

template <std::wstring TDriveInfo::*Member>
TFieldValue TextOf(const TDriveInfo& probe) {
  return probe.*Member;
}

template <auto Member>
TFieldValue NumberOf(const TDriveInfo& probe) {
  return static_cast<unsigned long long>(probe.*Member);
}

TFieldValue LetterOf(const TDriveInfo& probe) {
  return std::wstring(1, static_cast<wchar_t>(probe.Letter));
}

TFieldValue IsAnswered(const TDriveInfo& probe) {
  return !probe.VolumeFailed;
}

TFieldValue IsTimedOut(const TDriveInfo& probe) {
  return probe.TimedOut;
}

TFieldValue UsedBytesOf(const TDriveInfo& probe) {
  return probe.UsedBytes();
}

TFieldValue UsedPercentOf(const TDriveInfo& probe) {
  return probe.UsedPercent();
}

using enum TPresence;
using enum TFieldKind;

const TDriveField kFields[] = {
    {"letter", L"Laufwerksbuchstabe", Always, Letter, LetterOf},
    {"type", nullptr, Always, TypeCode, NumberOf<&TDriveInfo::DriveType>},
    {"typeName", L"Laufwerkstyp", Typed, Text, TextOf<&TDriveInfo::TypeName>},
    {"answered", nullptr, Always, Flag, IsAnswered},
    {"timedOut", nullptr, Always, Flag, IsTimedOut},
    {"volumeName", L"Volume-Name", Answered, Text, TextOf<&TDriveInfo::VolumeName>},
    {"fileSystem", L"Filesystem", Answered, Text, TextOf<&TDriveInfo::FileSystem>},
    {"serialNumber", L"Seriennummer", Answered, Count, NumberOf<&TDriveInfo::SerialNumber>},
    {nullptr, L"Seriennummer (Hex)", Answered, SerialHex, NumberOf<&TDriveInfo::SerialNumber>},
    {"maxNameLength", L"Länge Dateiname", Answered, Count, NumberOf<&TDriveInfo::MaxNameLength>},
    {"sectorsPerCluster", L"Sektoren/Cluster", Answered, Count, NumberOf<&TDriveInfo::SectorsPerCluster>},
    {"bytesPerSector", L"Bytes/Sektor", Answered, Count, NumberOf<&TDriveInfo::BytesPerSector>},
    {"freeClusters", L"Freie Cluster", Answered, Count, NumberOf<&TDriveInfo::FreeClusters>},
    {"totalClusters", L"Cluster gesamt", Answered, Count, NumberOf<&TDriveInfo::TotalClusters>},
    {"freeBytes", L"frei (Bytes)", Answered, Bytes, NumberOf<&TDriveInfo::FreeBytes>},
    {"usedBytes", L"belegt (Bytes)", Answered, Bytes, UsedBytesOf},
    {"totalBytes", L"gesamt (Bytes)", Answered, Bytes, NumberOf<&TDriveInfo::TotalBytes>},
    {"userFreeBytes", L"frei für Benutzer (Bytes)", Answered, Bytes, NumberOf<&TDriveInfo::UserFreeBytes>},
    {"usedPercent", L"belegt (%)", Answered, Percent, UsedPercentOf},
};

}  // namespace

TDriveFields DriveFields() {
  return kFields;
}

bool HasField(const TDriveInfo& probe, const TDriveField& field) {
  switch (field.Presence) {
    case Always:
      return true;
    case Typed:
      return probe.DriveType != 0;
    case Answered:
      return !probe.VolumeFailed;
    case Reported:
      return !std::holds_alternative<std::monostate>(field.Read(probe));
  }
  return false;
}

}  // namespace drive
