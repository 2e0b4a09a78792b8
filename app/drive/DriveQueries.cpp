#include "app/drive/DriveQueries.h"

#include "runtime/DiskFreeSpace.h"

namespace app {

namespace {

class TSystemDriveQueries final : public TDriveQueries {
 public:
  DWORD LogicalDrives() const override { return GetLogicalDrives(); }
  UINT DriveType(const std::string& root) const override { return GetDriveTypeA(root.c_str()); }

  bool VolumeInformation(const std::string& root, TVolumeAnswer& answer) const override {
    char volumeName[256] = "";
    char fileSystem[256] = "";
    const BOOL ok = GetVolumeInformationA(root.c_str(), volumeName, 255, &answer.SerialNumber,
                                          &answer.MaxNameLength, &answer.FileSystemFlags, fileSystem, 255);
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
    const tk::TGetDiskFreeSpaceExA query = tk::DiskFreeSpaceExFunction();
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

}  // namespace app
