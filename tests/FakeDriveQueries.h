// Drive queries answered from a table, for answers that no real drive gives.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

#include "app/drive/DriveQueries.h"

namespace testing_support {

struct TFakeDrive {
  UINT Type = DRIVE_FIXED;
  bool VolumeAnswers = true;
  app::TVolumeAnswer Volume;
  app::TClusterAnswer Clusters;
  // Empty: the system lacks the 64-bit query.
  std::optional<app::TFreeSpaceAnswer> FreeSpace;
  bool ThrowOnVolume = false;
};

class TFakeDriveQueries : public app::TDriveQueries {
 public:
  std::map<char, TFakeDrive> Drives;
  mutable int ClusterQueries = 0;
  mutable int FreeSpaceQueries = 0;
  // Called at every volume query, with the drive's letter.
  std::function<void(char)> OnVolumeQuery;

  DWORD LogicalDrives() const override;
  UINT DriveType(const std::string& root) const override;
  bool VolumeInformation(const std::string& root, app::TVolumeAnswer& answer) const override;
  void DiskFreeSpace(const std::string& root, app::TClusterAnswer& answer) const override;
  std::optional<app::TFreeSpaceAnswer> DiskFreeSpaceEx(const std::string& root) const override;

 private:
  const TFakeDrive* Find(const std::string& root) const;
};

// A fixed drive with the given total and free bytes through the 64-bit query.
TFakeDrive FixedDrive(unsigned long long total, unsigned long long free);

}  // namespace testing_support
