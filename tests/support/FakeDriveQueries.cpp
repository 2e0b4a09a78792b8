#include "tests/support/FakeDriveQueries.h"

#include "runtime/Handles.h"
#include "runtime/Text.h"

namespace testing_support {

// Which blocked drives may go on, and an event set when a query blocks.
struct TFakeDriveQueries::TGate {
  bool Open(char letter) const { return All || (Letters & (1u << (letter - 'A'))); }
  std::atomic<bool> All = false;
  std::atomic<unsigned> Letters = 0;
  const runtime::TKernelHandle Blocked{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

TFakeDriveQueries::TFakeDriveQueries() : gate_(std::make_shared<TGate>()) {}

// A copy has the drives and hooks, and a gate of its own.
TFakeDriveQueries::TFakeDriveQueries(const TFakeDriveQueries& other)
    : Drives(other.Drives),
      ClusterQueries(other.ClusterQueries.load()),
      FreeSpaceQueries(other.FreeSpaceQueries.load()),
      OnVolumeQuery(other.OnVolumeQuery),
      gate_(std::make_shared<TGate>()) {}

void TFakeDriveQueries::Release() const {
  gate_->All = true;
}

void TFakeDriveQueries::Release(char letter) const {
  gate_->Letters |= 1u << (letter - 'A');
}

bool TFakeDriveQueries::WaitUntilBlocked(DWORD milliseconds) const {
  return WaitForSingleObject(gate_->Blocked.Get(), milliseconds) == WAIT_OBJECT_0;
}

const TFakeDrive* TFakeDriveQueries::Find(const std::string& root) const {
  if (root.size() != 3 || root.substr(1) != ":\\") throw std::invalid_argument("not a root path: " + root);
  const auto found = Drives.find(root[0]);
  return found == Drives.end() ? nullptr : &found->second;
}

void TFakeDriveQueries::Block(char letter) const {
  // The thread's own share of the gate: it may outlive this object.
  const std::shared_ptr<TGate> gate = gate_;
  SetEvent(gate->Blocked.Get());
  while (!gate->Open(letter)) Sleep(5);
}

UINT TFakeDriveQueries::DriveType(const std::string& root) const {
  ++TypeQueries;
  const TFakeDrive* drive = Find(root);
  if (drive && drive->TypeBlocks) Block(root[0]);
  return drive ? drive->Type : DRIVE_NO_ROOT_DIR;
}

bool TFakeDriveQueries::VolumeInformation(const std::string& root, drive::TVolumeAnswer& answer) const {
  const TFakeDrive* drive = Find(root);
  if (OnVolumeQuery) OnVolumeQuery(root[0]);
  if (drive && drive->Blocks) Block(root[0]);
  if (drive && drive->ThrowOnVolume) throw std::runtime_error("Laufwerk " + root + " antwortet nicht");
  if (!drive || !drive->VolumeAnswers) return false;
  answer = drive->Volume;
  return true;
}

void TFakeDriveQueries::DiskFreeSpace(const std::string& root, drive::TClusterAnswer& answer) const {
  ++ClusterQueries;
  const TFakeDrive* drive = Find(root);
  answer = drive ? drive->Clusters : drive::TClusterAnswer{};
}

std::optional<drive::TFreeSpaceAnswer> TFakeDriveQueries::DiskFreeSpaceEx(const std::string& root) const {
  ++FreeSpaceQueries;
  const TFakeDrive* drive = Find(root);
  return drive ? drive->FreeSpace : std::nullopt;
}

TFakeDrive FixedDrive(unsigned long long total, unsigned long long free) {
  TFakeDrive drive;
  drive.Volume = {L"DATEN", L"NTFS", 0x1234ABCD, 255, 0x3E700FF};
  drive.Clusters = {8, 512, static_cast<DWORD>(free / 4096), static_cast<DWORD>(total / 4096)};
  drive.FreeSpace = drive::TFreeSpaceAnswer{free, total, free};
  return drive;
}

TFakeDrive NoMedium(UINT type) {
  TFakeDrive drive;
  drive.Type = type;
  drive.VolumeAnswers = false;
  return drive;
}

TFakeDriveQueries TwoDrives() {
  TFakeDriveQueries fake;
  fake.Drives['C'] = FixedDrive(4096000, 1024000);
  fake.Drives['D'] = FixedDrive(8192000, 2048000);
  fake.Drives['D'].Type = DRIVE_CDROM;
  fake.Drives['E'] = FixedDrive(4096, 0);
  fake.Drives['E'].Type = DRIVE_UNKNOWN;  // not listed
  return fake;
}

}  // namespace testing_support
