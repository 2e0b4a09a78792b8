#include "app/drive/DriveQueries.h"

namespace app {

namespace {

using TGetDiskFreeSpaceExA = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

class TSystemDriveQueries final : public TDriveQueries {
 public:
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
    // Looked up at run time, for every probe: the program also starts on systems without it.
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto query = kernel ? reinterpret_cast<TGetDiskFreeSpaceExA>(
                              reinterpret_cast<void*>(GetProcAddress(kernel, "GetDiskFreeSpaceExA")))
                        : nullptr;
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
