// The drive list follows the drives, and no drive holds the window: a device message or F5 makes the
// list again (new drives in their place, gone ones gone, the selection kept while its drive exists), a
// letter that hangs at the start comes when it answers, and a hanging drive holds one thread however
// often it is asked, its table saying so meanwhile.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <dbt.h>

#include <algorithm>
#include <string>
#include <tlhelp32.h>
#include <vector>

#include "app/MainForm.h"
#include "drive/DriveList.h"
#include "runtime/Handles.h"
#include "tests/support/FakeDriveQueries.h"
#include "tests/support/WinEvents.h"
#include "tests/support/WindowTesting.h"

using testing_support::FixedDrive;
using testing_support::Pump;
using testing_support::PumpUntil;
using testing_support::TFakeDriveQueries;
using testing_support::TWinEventListener;

namespace {

std::vector<std::wstring> Captions(const app::TMainForm& form) {
  std::vector<std::wstring> captions;
  for (int i = 0; i < form.DrivesView.Count(); ++i) captions.push_back(form.DrivesView.Caption(i));
  return captions;
}

// The index of the item's picture in the list's images.
int ItemImage(const app::TMainForm& form, int index) {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  SendMessageW(form.DrivesView.Handle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return item.iImage;
}

void ClickItem(app::TMainForm& form, int index) {
  const POINT p = testing_support::ListItemCenter(form.DrivesView.Handle(), index);
  testing_support::Click(form.DrivesView.Handle(), p.x, p.y);
}

// The threads of this process now, as the system counts them.
int ProcessThreads() {
  const runtime::TKernelHandle snapshot(
      runtime::NullIfInvalid(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0)));
  THREADENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  int count = 0;
  for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry))
    count += entry.th32OwnerProcessID == GetCurrentProcessId();
  return count;
}

}  // namespace

TEST(LiveList, DrivesThatComeAndGoAppearInTheirPlaceAndTheSelectionStays) {
  TFakeDriveQueries fake;
  fake.Drives['C'] = FixedDrive(1000, 500);
  fake.Drives['D'] = FixedDrive(1000, 250);
  app::TMainForm form(fake);
  form.AnswerPatience = testing_support::kFakeAnswerPatience;
  form.Create();
  form.Show();
  Pump();
  ClickItem(form, 1);
  ASSERT_EQ(form.InfoGrid.Cell(1, 1), L"D");
  // No query runs while the drives change: every letter's type has been asked (and answered).
  ASSERT_TRUE(PumpUntil([&] { return fake.TypeQueries >= 26; }, 10000));
  Pump();
  fake.Drives.erase('C');
  fake.Drives['E'] = FixedDrive(1000, 900);
  fake.Drives['E'].Type = DRIVE_REMOTE;
  fake.Drives['D'].Volume.VolumeName = L"NEU";
  {
    const TWinEventListener listener(EVENT_OBJECT_REORDER, EVENT_OBJECT_REORDER);
    SendMessageW(form.Handle(), WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    const std::vector<std::wstring> later{L"D: Festplatte", L"E: Netzlaufwerk"};
    ASSERT_TRUE(PumpUntil([&] { return Captions(form) == later; }, 2000)) << Captions(form).size();
    Pump();
    EXPECT_TRUE(listener.Heard(EVENT_OBJECT_REORDER, CHILDID_SELF)) << "a screen reader hears the change";
    EXPECT_EQ(ItemImage(form, 1), 3) << "a network drive's picture";
  }
  ASSERT_TRUE(testing_support::WaitForAnswers());
  EXPECT_EQ(form.DrivesView.Selected(), 0) << "D stays selected";
  EXPECT_EQ(form.InfoGrid.Cell(1, 3), L"NEU") << "and its table is made anew";

  // The selected drive goes (F5): no selection, an empty table and gauge. E: is now a CD drive.
  fake.Drives.erase('D');
  fake.Drives['E'].Type = DRIVE_CDROM;
  testing_support::PostKey(form.DrivesView.Handle(), VK_F5);
  const std::vector<std::wstring> last{drive::DriveCaption({'E', DRIVE_CDROM})};
  ASSERT_TRUE(PumpUntil([&] { return Captions(form) == last; }, 2000));
  EXPECT_EQ(ItemImage(form, 0), 4) << "the picture follows the type";
  EXPECT_EQ(form.DrivesView.Selected(), -1);
  for (int row = 1; row < form.InfoGrid.RowCount(); ++row) EXPECT_EQ(form.InfoGrid.Cell(1, row), L"") << row;
  EXPECT_EQ(form.SizeGauge.Progress(), 0);
}

TEST(LiveList, ABurstOfDeviceMessagesMakesTheListOnce) {
  TFakeDriveQueries fake;
  fake.Drives['C'] = FixedDrive(1000, 500);
  app::TMainForm form(fake);
  form.Create();
  ASSERT_TRUE(PumpUntil([&] { return fake.TypeQueries >= 26; }, 10000)) << "the start's listing";
  const int before = fake.TypeQueries;
  DEV_BROADCAST_VOLUME volume{};
  volume.dbcv_size = sizeof(volume);
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume.dbcv_unitmask = 1u << ('K' - 'A');
  for (int i = 0; i < 20; ++i)
    SendMessageW(form.Handle(), WM_DEVICECHANGE, i % 2 ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE,
                 reinterpret_cast<LPARAM>(&volume));
  PumpUntil([] { return false; }, 1000);
  EXPECT_EQ(fake.TypeQueries - before, 26) << "every letter asked once";
}

TEST(LiveList, AtTheStartALetterThatHangsComesWhenItAnswers) {
  TFakeDriveQueries fake;
  fake.Drives['C'] = FixedDrive(1000, 500);
  fake.Drives['N'] = FixedDrive(1000, 250);
  fake.Drives['N'].Type = DRIVE_REMOTE;
  fake.Drives['N'].TypeBlocks = true;
  app::TMainForm form(fake);
  form.Create();
  ASSERT_TRUE(fake.WaitUntilBlocked(10000)) << "N's type is asked";
  EXPECT_EQ(Captions(form), std::vector<std::wstring>{L"C: Festplatte"});
  fake.Release('N');
  EXPECT_TRUE(PumpUntil([&] { return Captions(form).size() == 2; }, 2000));
  EXPECT_EQ(Captions(form), (std::vector<std::wstring>{L"C: Festplatte", L"N: Netzlaufwerk"}));
}

TEST(LiveList, AHangingDriveHoldsOneThreadWhateverIsAskedOfIt) {
  TFakeDriveQueries fake;
  fake.Drives['C'] = FixedDrive(1000, 500);
  fake.Drives['N'] = FixedDrive(1000, 250);
  fake.Drives['N'].Type = DRIVE_REMOTE;
  fake.Drives['N'].Blocks = true;
  app::TMainForm form(fake);
  form.Create();
  form.Show();
  Pump();
  {
    const TWinEventListener listener(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE);
    ClickItem(form, 1);
    Pump();
    EXPECT_TRUE(listener.Heard(EVENT_OBJECT_NAMECHANGE, 3)) << "a screen reader hears that N is asked";
  }
  ASSERT_TRUE(fake.WaitUntilBlocked(10000));
  const int threads = ProcessThreads();
  for (int i = 0; i < 300; ++i) {
    PostMessageW(form.DrivesView.Handle(), WM_KEYDOWN, VK_RETURN, 1);
    if (i % 10 == 0) {
      testing_support::Click(form.CopyInfoBtn.Handle(), 12, 12);
      testing_support::PostKey(form.DrivesView.Handle(), VK_F5);
      Pump();
    }
  }
  Pump();
  EXPECT_LE(ProcessThreads(), threads + 1) << "one thread for N, whatever was asked of it";
  EXPECT_EQ(form.InfoGrid.Cell(1, 3), L"wird abgefragt ...");
  fake.Release('N');
  ASSERT_TRUE(testing_support::WaitForAnswers());
  EXPECT_EQ(form.InfoGrid.Cell(1, 1), L"N");
  EXPECT_EQ(form.SizeGauge.Progress(), 75);
}
