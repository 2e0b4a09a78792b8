// The main window driven by keys alone: the drive list's selection shows its drive, every command has
// a key, and the focus comes back after the dialog and the help window.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "about/aboutdlg.h"
#include "app/HelpWindow.h"
#include "app/MainForm.h"
#include "tests/support/FakeDriveQueries.h"
#include "tests/support/WindowTesting.h"
#include "toolkit/Application.h"
#include "toolkit/Clipboard.h"

using app::TMainForm;
using testing_support::FixedDrive;
using testing_support::NoMedium;
using testing_support::PostKey;
using testing_support::PostKeyWith;
using testing_support::Pump;
using testing_support::TFakeDriveQueries;

namespace {

// A:, C: 12 %, D: 14 %, F: 50 %, N: 50 %, R: no medium.
TFakeDriveQueries SixDrives() {
  TFakeDriveQueries fake;
  fake.Drives['A'] = NoMedium(DRIVE_REMOVABLE);
  fake.Drives['C'] = FixedDrive(1000, 875);
  fake.Drives['D'] = FixedDrive(1000, 865);
  fake.Drives['F'] = FixedDrive(1000, 500);
  fake.Drives['N'] = FixedDrive(1000, 500);
  fake.Drives['N'].Type = DRIVE_REMOTE;
  fake.Drives['R'] = NoMedium(DRIVE_CDROM);
  return fake;
}

int UsedPercentOf(char letter) {
  switch (letter) {
    case 'C':
      return 12;
    case 'D':
      return 14;
    case 'F':
    case 'N':
      return 50;
    default:
      return 0;
  }
}

class KeyboardTest : public ::testing::Test {
 protected:
  KeyboardTest() : fake(SixDrives()), form(fake) {
    // A copy left to finish later would find the test's own clipboard changes and refuse them.
    form.AnswerPatience = testing_support::kFakeAnswerPatience;
    form.Create();
    form.Show();
    Pump();
  }
  HWND List() const { return form.DrivesView.Handle(); }
  // Tab from the window itself reaches the drive list first.
  void TabIntoTheList() {
    SetFocus(form.Handle());
    PostKey(form.Handle(), VK_TAB);
    ASSERT_EQ(GetFocus(), List());
  }
  // The table, the gauge and the selection tell of the same drive.
  void ExpectShown(char letter) {
    const int selected = form.DrivesView.Selected();
    ASSERT_GE(selected, 0);
    EXPECT_EQ(form.DrivesView.Caption(selected)[0], letter);
    EXPECT_EQ(form.InfoGrid.Cell(1, 1), std::wstring(1, static_cast<wchar_t>(letter)));
    EXPECT_EQ(form.SizeGauge.Progress(), UsedPercentOf(letter)) << letter;
  }
  std::string Clipboard() const { return toolkit::ClipboardText(form.Handle()); }
  void ClearClipboard() const { toolkit::SetClipboardText(form.Handle(), "", L""); }

  TFakeDriveQueries fake;
  TMainForm form;
};

}  // namespace

TEST_F(KeyboardTest, KeysThatMoveTheSelectionShowTheirDrive) {
  TabIntoTheList();
  EXPECT_EQ(form.InfoGrid.Cell(1, 1), L"") << "the focus alone selects nothing";
  PostKey(List(), VK_END);
  ExpectShown('R');
  PostKey(List(), VK_HOME);
  ExpectShown('A');
  PostKey(List(), VK_DOWN);
  const char below = static_cast<char>(form.DrivesView.Caption(form.DrivesView.Selected())[0]);
  EXPECT_NE(below, 'A');
  ExpectShown(below);
  // Type-ahead: the first letter of a drive's caption.
  testing_support::PostChar(List(), 'n');
  ExpectShown('N');
}

TEST_F(KeyboardTest, TheFirstTabShowsTheListsFocusMark) {
  TabIntoTheList();
  EXPECT_EQ(form.DrivesView.Focused(), 0);
  EXPECT_EQ(form.DrivesView.Selected(), -1);
  const LRESULT state = SendMessageA(List(), WM_QUERYUISTATE, 0, 0);
  EXPECT_FALSE(state & UISF_HIDEFOCUS);
}

TEST_F(KeyboardTest, TheListStartsWithTheFocusAndEnterShowsTheDriveWithTheMark) {
  EXPECT_EQ(GetFocus(), List());
  EXPECT_EQ(form.DrivesView.Focused(), 0);
  EXPECT_EQ(form.DrivesView.Selected(), -1);
  EXPECT_FALSE(SendMessageA(List(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
  PostKey(List(), VK_RETURN);
  ExpectShown('A');
}

TEST_F(KeyboardTest, EnterShowsTheSelectedDriveAnew) {
  TabIntoTheList();
  testing_support::PostChar(List(), 'c');
  ExpectShown('C');
  fake.Drives['C'] = FixedDrive(1000, 250);
  PostKey(List(), VK_RETURN);
  EXPECT_EQ(form.SizeGauge.Progress(), 75);
  EXPECT_EQ(form.InfoGrid.Cell(1, 1), L"C");
}

TEST_F(KeyboardTest, ShiftSelectsOneDriveOnly) {
  TabIntoTheList();
  PostKey(List(), VK_HOME);
  PostKeyWith(List(), VK_END, {VK_SHIFT});
  EXPECT_EQ(SendMessageW(List(), LVM_GETSELECTEDCOUNT, 0, 0), 1);
}

TEST_F(KeyboardTest, APressThatChangesTheSelectionAsksTheDriveOnce) {
  int probes = 0;
  fake.OnVolumeQuery = [&](char) { ++probes; };
  const POINT d = testing_support::ListItemCenter(List(), 2);
  testing_support::Click(List(), d.x, d.y);
  ExpectShown('D');
  EXPECT_EQ(probes, 1);
  // A click on the selected drive asks it again, as before.
  testing_support::Click(List(), d.x, d.y);
  EXPECT_EQ(probes, 2);
  // So does the first click after a key moved the selection there.
  PostKey(List(), VK_HOME);
  EXPECT_EQ(probes, 3);
  const POINT a = testing_support::ListItemCenter(List(), 0);
  testing_support::Click(List(), a.x, a.y);
  EXPECT_EQ(probes, 4);
}

TEST_F(KeyboardTest, CopyKeysPutWhatTheCopyButtonsPut) {
  TabIntoTheList();
  PostKey(List(), VK_END);
  testing_support::Click(form.CopyInfoBtn.Handle(), 12, 12);
  const std::string one = Clipboard();
  ASSERT_NE(one.find("Laufwerksbuchstabe;R"), std::string::npos) << one;
  testing_support::Click(form.CopyInfosBtn.Handle(), 12, 12);
  const std::string all = Clipboard();
  ASSERT_NE(all, one);

  const struct {
    WORD key;
    std::initializer_list<BYTE> held;
    std::string expected;
  } keys[] = {{'C', {VK_CONTROL}, one},
              {VK_INSERT, {VK_CONTROL}, one},
              {'C', {VK_CONTROL, VK_SHIFT}, all},
              {'C', {VK_CONTROL, VK_MENU}, ""}};  // AltGr+C on a German keyboard
  for (const auto& k : keys) {
    ClearClipboard();
    PostKeyWith(List(), k.key, k.held);
    EXPECT_EQ(Clipboard(), k.expected) << k.key;
  }
  // Without Ctrl, C is the list's type-ahead and copies nothing.
  ClearClipboard();
  PostKey(List(), 'C');
  EXPECT_EQ(Clipboard(), "");
}

TEST_F(KeyboardTest, CtrlIOpensTheAboutDialogEscClosesItAndTheFocusComesBack) {
  TabIntoTheList();
  bool opened = false;
  toolkit::Application().OnMessage = [&](MSG& message, bool&) {
    auto* box = dynamic_cast<about::TAboutBox*>(toolkit::TForm::OwningForm(message.hwnd));
    if (!box || opened) return;
    opened = true;
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
  };
  PostKeyWith(List(), 'I', {VK_CONTROL});
  toolkit::Application().OnMessage = nullptr;
  EXPECT_TRUE(opened);
  EXPECT_EQ(FindWindowA(nullptr, "Infos"), nullptr);
  EXPECT_EQ(GetFocus(), List());
}

TEST_F(KeyboardTest, NoOtherKeyOpensTheAboutDialog) {
  TabIntoTheList();
  bool opened = false;
  toolkit::Application().OnMessage = [&](MSG& message, bool&) {
    if (opened || !dynamic_cast<about::TAboutBox*>(toolkit::TForm::OwningForm(message.hwnd))) return;
    opened = true;
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
  };
  const struct {
    WORD key;
    std::initializer_list<BYTE> held;
  } keys[] = {{'I', {}}, {'A', {VK_CONTROL}}, {'I', {VK_CONTROL, VK_SHIFT}}};
  for (const auto& k : keys) {
    opened = false;
    PostKeyWith(List(), k.key, k.held);
    EXPECT_FALSE(opened) << k.key << " with " << k.held.size() << " held";
  }
  toolkit::Application().OnMessage = nullptr;
}

TEST_F(KeyboardTest, TheFocusComesBackWhenTheHelpWindowCloses) {
  app::TRichHelpViewer viewer;
  toolkit::Application().HelpViewer = &viewer;
  SetFocus(form.InfoGrid.Handle());
  PostKey(form.InfoGrid.Handle(), VK_F1);
  ASSERT_NE(viewer.Window(), nullptr);
  EXPECT_NE(GetFocus(), form.InfoGrid.Handle());
  PostKey(viewer.Window()->Editor().Handle(), VK_ESCAPE);
  EXPECT_EQ(viewer.Window(), nullptr);
  EXPECT_EQ(GetFocus(), form.InfoGrid.Handle());
  toolkit::Application().HelpViewer = nullptr;
}

TEST_F(KeyboardTest, AltF4ClosesTheWindow) {
  TabIntoTheList();
  PostKeyWith(List(), VK_F4, {VK_MENU});
  EXPECT_EQ(form.Handle(), nullptr);
}
