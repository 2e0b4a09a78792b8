// Drive queries answered from a table, for answers that no real drive gives.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "drive/DriveQueries.h"

namespace testing_support {

struct TFakeDrive {
  UINT Type = DRIVE_FIXED;
  bool VolumeAnswers = true;
  drive::TVolumeAnswer Volume;
  drive::TClusterAnswer Clusters;
  // Empty: the system lacks the 64-bit query.
  std::optional<drive::TFreeSpaceAnswer> FreeSpace;
  bool ThrowOnVolume = false;
  // The volume query waits until released, as that of a network drive whose server stalls.
  bool Blocks = false;
  // The type query waits so too.
  bool TypeBlocks = false;
};

class TFakeDriveQueries : public drive::TDriveQueries {
 public:
  TFakeDriveQueries();
  TFakeDriveQueries(const TFakeDriveQueries& other);
  TFakeDriveQueries& operator=(const TFakeDriveQueries&) = delete;

  std::map<char, TFakeDrive> Drives;
  // Probes may run on several threads at once.
  mutable std::atomic<int> TypeQueries = 0;
  mutable std::atomic<int> ClusterQueries = 0;
  mutable std::atomic<int> FreeSpaceQueries = 0;
  // Called at every volume query, with the drive's letter.
  std::function<void(char)> OnVolumeQuery;

  // Lets every blocked volume query go on; call it only while this object lives. A query left
  // blocked when the object goes stays blocked, touching nothing but the gate it waits at.
  void Release() const;
  // Lets the blocked volume queries of one drive go on.
  void Release(char letter) const;
  // Waits until a volume query is blocked (true), at most the milliseconds.
  bool WaitUntilBlocked(DWORD milliseconds) const;

  UINT DriveType(const std::string& root) const override;
  bool VolumeInformation(const std::string& root, drive::TVolumeAnswer& answer) const override;
  void DiskFreeSpace(const std::string& root, drive::TClusterAnswer& answer) const override;
  std::optional<drive::TFreeSpaceAnswer> DiskFreeSpaceEx(const std::string& root) const override;

 private:
  const TFakeDrive* Find(const std::string& root) const;
  // Waits until the drive is released.
  void Block(char letter) const;

  struct TGate;
  std::shared_ptr<TGate> gate_;
};

// A fixed drive with the given total and free bytes through the 64-bit query.
TFakeDrive FixedDrive(unsigned long long total, unsigned long long free);

// A drive of the given type whose medium is missing: its volume query fails.
TFakeDrive NoMedium(UINT type);

// A fixed C:, a CD-ROM D: and an E: of unknown type, which is not listed.
TFakeDriveQueries TwoDrives();

// A main window's wait for drives that answer at once on their own threads (milliseconds): under load
// such a thread may start after the window's usual moment, and a test that counts what one click does
// would then see the drive asked and answered in two steps.
constexpr unsigned long kFakeAnswerPatience = 10000;

}  // namespace testing_support
