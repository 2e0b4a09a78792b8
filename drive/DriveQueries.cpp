#include "drive/DriveQueries.h"

#include "runtime/DiskFreeSpace.h"
#include "runtime/Text.h"

namespace drive {

namespace {

class TSystemDriveQueries final : public TDriveQueries {
 public:
  UINT DriveType(const std::string& root) const override { return GetDriveTypeA(root.c_str()); }

  bool VolumeInformation(const std::string& root, TVolumeAnswer& answer) const override {
    wchar_t volumeName[MAX_PATH + 1] = L"";
    wchar_t fileSystem[MAX_PATH + 1] = L"";
    const std::wstring wideRoot = runtime::WideFromCp1252(root);
    const BOOL ok =
        GetVolumeInformationW(wideRoot.c_str(), volumeName, MAX_PATH + 1, &answer.SerialNumber,
                              &answer.MaxNameLength, &answer.FileSystemFlags, fileSystem, MAX_PATH + 1);
    if (!ok) return false;
    answer.VolumeName = volumeName;
    answer.FileSystem = fileSystem;
    return true;
  }

  void DiskFreeSpace(const std::string& root, TClusterAnswer& answer) const override {
    if (!GetDiskFreeSpaceA(root.c_str(), &answer.SectorsPerCluster, &answer.BytesPerSector,
                           &answer.FreeClusters, &answer.TotalClusters))
      answer = TClusterAnswer{};  // the outputs are undefined after a failure
  }

  std::optional<TFreeSpaceAnswer> DiskFreeSpaceEx(const std::string& root) const override {
    // Looked up for every probe.
    const runtime::TGetDiskFreeSpaceExA query = runtime::DiskFreeSpaceExFunction();
    if (!query) return std::nullopt;
    ULARGE_INTEGER userFree{}, total{}, totalFree{};
    if (!query(root.c_str(), &userFree, &total, &totalFree)) return TFreeSpaceAnswer{};
    return TFreeSpaceAnswer{userFree.QuadPart, total.QuadPart, totalFree.QuadPart};
  }
};

}  // namespace

const TDriveQueries& SystemDriveQueries() {
  static const TSystemDriveQueries queries;
  return queries;
}

}  // namespace drive
