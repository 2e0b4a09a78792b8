// The main window in the test process, driven by real mouse and key messages.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <imm.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>

#include "about/aboutdlg.h"
#include "app/MainForm.h"
#include "app/MainLayout.h"
#include "app/Program.h"
#include "drive/DriveInfo.h"
#include "drive/DriveList.h"
#include "drive/NumberFormat.h"
#include "resources/resource_ids.h"
#include "runtime/Text.h"
#include "tests/support/FakeDriveQueries.h"
#include "tests/support/WinEvents.h"
#include "tests/support/WindowTesting.h"
#include "toolkit/Application.h"

using app::TMainForm;
using testing_support::BoundsInParent;
using testing_support::FixedDrive;
using testing_support::NoMedium;
using testing_support::Pump;
using testing_support::TApplicationRecorder;
using testing_support::TFakeDrive;
using testing_support::TFakeDriveQueries;

namespace {

BOOL CALLBACK FindOwnedToolTip(HWND window, LPARAM found) {
  char cls[64] = "";
  GetClassNameA(window, cls, sizeof(cls));
  if (std::string(cls) == TOOLTIPS_CLASSA && GetWindow(window, GW_OWNER) != nullptr)
    *reinterpret_cast<HWND*>(found) = window;
  return TRUE;
}

int Width(const RECT& r) {
  return r.right - r.left;
}
int Height(const RECT& r) {
  return r.bottom - r.top;
}

void ClickItem(TMainForm& form, int index) {
  const POINT p = testing_support::ListItemCenter(form.DrivesView.Handle(), index);
  testing_support::Click(form.DrivesView.Handle(), p.x, p.y);
}

// Counts the WM_PAINT messages of a subclassed window into the int that data points to.
LRESULT CALLBACK CountPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR data) {
  if (message == WM_PAINT) ++*reinterpret_cast<int*>(data);
  return DefSubclassProc(window, message, wParam, lParam);
}

int IndexOfLetter(const TMainForm& form, char letter) {
  for (int i = 0; i < form.DrivesView.Count(); ++i)
    if (form.DrivesView.Caption(i)[0] == letter) return i;
  return -1;
}

// Drives with used shares that the rounding rule decides, and the other drive kinds.
TFakeDriveQueries MixedDrives() {
  TFakeDriveQueries fake;
  fake.Drives['A'] = NoMedium(DRIVE_REMOVABLE);
  fake.Drives['C'] = FixedDrive(1000, 875);  // 12.5 % used
  fake.Drives['D'] = FixedDrive(1000, 865);  // 13.5 % used
  TFakeDrive unknown = FixedDrive(1000, 0);
  unknown.Type = DRIVE_UNKNOWN;
  fake.Drives['E'] = unknown;
  fake.Drives['F'] = FixedDrive(1000, 500);
  fake.Drives['F'].Type = DRIVE_RAMDISK;
  fake.Drives['N'] = FixedDrive(1000, 500);
  fake.Drives['N'].Type = DRIVE_REMOTE;
  fake.Drives['R'] = NoMedium(DRIVE_CDROM);
  fake.Drives['X'] = FixedDrive(1000, 1000);
  fake.Drives['X'].Type = 7;
  return fake;
}

// Drags the splitter by dx pixels, as the mouse does.
void DragSplitter(TMainForm& form, int dx) {
  HWND splitter = form.Splitter.Handle();
  RECT r;
  GetWindowRect(splitter, &r);
  SetCursorPos(r.left + 1, r.top + 50);
  testing_support::PostMouse(splitter, WM_LBUTTONDOWN, 1, 50, MK_LBUTTON);
  Pump();
  SetCursorPos(r.left + 1 + dx, r.top + 50);
  testing_support::PostMouse(splitter, WM_MOUSEMOVE, 1 + dx, 50, MK_LBUTTON);
  testing_support::PostMouse(splitter, WM_LBUTTONUP, 1 + dx, 50);
  Pump();
}

}  // namespace

TEST(MainForm, StartsWithTheLayoutOfTheWindowTable) {
  TMainForm form;
  form.Create();
  form.Show();
  Pump();
  RECT outer;
  GetWindowRect(form.Handle(), &outer);
  EXPECT_EQ(Width(outer), 507);
  EXPECT_EQ(Height(outer), 434);
  RECT inner;
  GetClientRect(form.Handle(), &inner);
  EXPECT_EQ(inner.right, 499);
  EXPECT_EQ(inner.bottom, 407);
  char caption[64] = "";
  GetWindowTextA(form.Handle(), caption, sizeof(caption));
  EXPECT_STREQ(caption, "Quelix Disk-Info");

  RECT client;
  GetClientRect(form.Handle(), &client);
  const RECT buttons = BoundsInParent(form.ButtonPanel.Handle());
  const RECT progress = BoundsInParent(form.ProgressPanel.Handle());
  const RECT panel = BoundsInParent(form.Panel1.Handle());
  EXPECT_EQ(Height(buttons), 41);
  EXPECT_EQ(Width(buttons), client.right);
  EXPECT_EQ(Height(progress), 30);
  EXPECT_EQ(progress.bottom, client.bottom);
  EXPECT_EQ(panel.top, 41);
  EXPECT_EQ(panel.bottom, progress.top);

  const RECT gauge = BoundsInParent(form.SizeGauge.Handle());
  EXPECT_EQ(gauge.left, 1);
  EXPECT_EQ(gauge.top, 1);
  EXPECT_EQ(Width(gauge), client.right - 2);
  EXPECT_EQ(Height(gauge), 28);
  EXPECT_EQ(form.SizeGauge.ForeColor(), RGB(0, 0, 255)) << "the used share in blue";

  const RECT list = BoundsInParent(form.DrivesView.Handle());
  const RECT splitter = BoundsInParent(form.Splitter.Handle());
  const RECT grid = BoundsInParent(form.InfoGrid.Handle());
  EXPECT_EQ(Width(list), 209);
  EXPECT_EQ(splitter.left, 209);
  EXPECT_EQ(Width(splitter), 3);
  EXPECT_EQ(grid.left, 212);
  EXPECT_EQ(grid.right, Width(panel));

  const struct {
    const controls::TToolButton& button;
    int left;
  } buttonsAt[] = {{form.CopyInfoBtn, 8},
                   {form.CopyInfosBtn, 40},
                   {form.HelpBtn, 80},
                   {form.InfoBtn, 112},
                   {form.CloseBtn, 144}};
  for (const auto& b : buttonsAt) {
    const RECT r = BoundsInParent(b.button.Handle());
    EXPECT_EQ(r.left, b.left);
    EXPECT_EQ(r.top, 8);
    EXPECT_EQ(Width(r), 25);
    EXPECT_EQ(Height(r), 25);
  }
}

TEST(MainForm, EachButtonShowsItsWholeGlyph) {
  TMainForm form;
  form.Create();
  const struct {
    const controls::TToolButton& button;
    const wchar_t* glyph;
    int images;  // normal, and disabled where there is one
  } buttons[] = {{form.CopyInfoBtn, RES_GLYPH_COPYINFO, 1},
                 {form.CopyInfosBtn, RES_GLYPH_COPYINFOS, 1},
                 {form.HelpBtn, RES_GLYPH_HELP, 1},
                 {form.InfoBtn, RES_GLYPH_INFO, 2},
                 {form.CloseBtn, RES_GLYPH_CLOSE, 2}};
  for (const auto& b : buttons) {
    controls::TToolButton alone(b.glyph, b.images);
    alone.Create(form.Handle());
    MoveWindow(alone.Handle(), 0, 0, 25, 25, FALSE);
    EXPECT_EQ(testing_support::Picture(b.button, 25, 25), testing_support::Picture(alone, 25, 25))
        << b.images << " images";
  }
}

TEST(MainForm, ThickerFramesKeepTheClientAreaAndEverySixteenRowsShows) {
  const testing_support::TThickFrames frames;
  RECT classic{0, 0, 0, 0};
  AdjustWindowRectEx(&classic, WS_OVERLAPPEDWINDOW, FALSE, 0);
  ASSERT_GT(Height(classic), 434 - 407) << "the frames did not grow";
  const TFakeDriveQueries fake = MixedDrives();
  TMainForm form(fake);
  form.AnswerPatience = testing_support::kFakeAnswerPatience;
  form.Create();
  form.Show();
  Pump();
  RECT client;
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, 499);
  EXPECT_EQ(client.bottom, 407);

  ClickItem(form, 1);
  ASSERT_EQ(form.InfoGrid.RowCount(), 17);
  SCROLLBARINFO bar{};
  bar.cbSize = sizeof(bar);
  ASSERT_TRUE(GetScrollBarInfo(form.InfoGrid.Handle(), OBJID_VSCROLL, &bar));
  EXPECT_TRUE(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE) << "the table scrolls";
}

TEST(MainForm, TableStartsWithItsHeaderStripAndNineEmptyRows) {
  TMainForm form;
  form.Create();
  EXPECT_EQ(form.InfoGrid.ColCount(), 2);
  EXPECT_EQ(form.InfoGrid.RowCount(), 10);
  EXPECT_EQ(form.InfoGrid.RowHeight(0), 5);
  EXPECT_EQ(form.InfoGrid.RowHeight(1), 19);
  const int width = (form.InfoGrid.ClientWidth() - 1) / 2;
  EXPECT_EQ(form.InfoGrid.ColWidth(0), width);
  EXPECT_EQ(form.InfoGrid.ColWidth(1), width);
  for (int row = 0; row < 10; ++row) EXPECT_EQ(form.InfoGrid.Cell(1, row), L"");
  EXPECT_EQ(form.SizeGauge.Progress(), 0);
}

TEST(MainForm, ListsTheDrivesOfThePrefixInLetterOrder) {
  TMainForm form;
  form.Create();
  // Under load the drives may answer after the start's moment; they are listed when they do.
  int listed = 0;
  for (char letter = 'A'; letter <= 'Z'; ++letter)
    listed += drive::IsListedDriveType(GetDriveTypeA((std::string(1, letter) + ":\\").c_str()));
  ASSERT_GE(listed, 2);
  ASSERT_TRUE(testing_support::PumpUntil([&] { return form.DrivesView.Count() == listed; }));
  char previous = 0;
  for (int i = 0; i < form.DrivesView.Count(); ++i) {
    const std::wstring caption = form.DrivesView.Caption(i);
    const char letter = static_cast<char>(caption[0]);
    EXPECT_GT(letter, previous);
    previous = letter;
    const UINT type = GetDriveTypeA((std::string(1, letter) + ":\\").c_str());
    EXPECT_EQ(caption, std::wstring(1, caption[0]) + L": " + drive::DriveTypeName(type));
    EXPECT_EQ(form.DrivesView.ImageIndex(i), app::DriveImageIndex(type)) << caption;
  }
  const int c = IndexOfLetter(form, 'C');
  ASSERT_GE(c, 0);
  EXPECT_EQ(form.DrivesView.Caption(c), L"C: Festplatte");
  EXPECT_EQ(form.DrivesView.ImageIndex(c), 1);
  for (const char* name : {"SANDRIVO_TEST_CDROM", "SANDRIVO_TEST_FLOPPY", "SANDRIVO_TEST_NODRIVE"}) {
    const char* letter = std::getenv(name);
    if (!letter) continue;
    const int index = IndexOfLetter(form, letter[0]);
    if (std::string(name) == "SANDRIVO_TEST_NODRIVE") {
      EXPECT_EQ(index, -1) << "a free letter has no item";
    } else {
      ASSERT_GE(index, 0) << name;
      EXPECT_EQ(form.DrivesView.ImageIndex(index), std::string(name) == "SANDRIVO_TEST_CDROM" ? 4 : 0);
    }
  }
}

TEST(MainForm, MapsEveryDriveKindToItsImage) {
  const TFakeDriveQueries fake = MixedDrives();
  TMainForm form(fake);
  form.Create();
  ASSERT_TRUE(testing_support::PumpUntil([&] { return form.DrivesView.Count() == 6; }));
  const struct {
    const wchar_t* caption;
    int image;
  } expected[] = {{L"A: Diskette", 0}, {L"C: Festplatte", 1},   {L"D: Festplatte", 1},
                  {L"F: RAM-Disk", 2}, {L"N: Netzlaufwerk", 3}, {L"R: CD-ROM", 4}};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(form.DrivesView.Caption(i), expected[i].caption);
    EXPECT_EQ(form.DrivesView.ImageIndex(i), expected[i].image) << i;
  }
}

TEST(MainForm, ClickOnADriveFillsTableAndGauge) {
  const TFakeDriveQueries fake = MixedDrives();
  TMainForm form(fake);
  form.AnswerPatience = testing_support::kFakeAnswerPatience;
  form.Create();
  form.Show();
  Pump();

  ClickItem(form, 1);  // C: 12.5 % used
  ASSERT_EQ(form.DrivesView.Selected(), 1);
  ASSERT_EQ(form.InfoGrid.RowCount(), 17);
  EXPECT_EQ(form.InfoGrid.Cell(0, 0), L"");
  EXPECT_EQ(form.InfoGrid.Cell(0, 1), L"Laufwerksbuchstabe");
  EXPECT_EQ(form.InfoGrid.Cell(1, 1), L"C");
  EXPECT_EQ(form.InfoGrid.Cell(0, 16), L"belegt (%)");
  EXPECT_EQ(form.InfoGrid.Cell(1, 16), L"12,5000");
  EXPECT_EQ(form.SizeGauge.Progress(), 12);

  ClickItem(form, 2);  // D: 13.5 % used
  EXPECT_EQ(form.InfoGrid.Cell(1, 1), L"D");
  EXPECT_EQ(form.SizeGauge.Progress(), 14);

  ClickItem(form, 0);  // A: no medium
  ASSERT_EQ(form.InfoGrid.RowCount(), 3);
  EXPECT_EQ(form.InfoGrid.Cell(0, 2), L"Laufwerkstyp");
  EXPECT_EQ(form.InfoGrid.Cell(1, 2), L"Diskette");
  EXPECT_EQ(form.SizeGauge.Progress(), 0);

  // Growing again shows no stale rows of the earlier drive.
  ClickItem(form, 3);
  ASSERT_EQ(form.InfoGrid.RowCount(), 17);
  EXPECT_EQ(form.InfoGrid.Cell(1, 16), L"50,0000");
  EXPECT_EQ(form.SizeGauge.Progress(), 50);
}

TEST(MainForm, AClickOnADrivePaintsTheGaugeOnce) {
  const TFakeDriveQueries fake = MixedDrives();
  TMainForm form(fake);
  form.AnswerPatience = testing_support::kFakeAnswerPatience;
  form.Create();
  form.Show();
  ClickItem(form, 2);  // D: 14 %
  Pump();
  int paints = 0;
  ASSERT_TRUE(
      SetWindowSubclass(form.SizeGauge.Handle(), CountPaints, 1, reinterpret_cast<DWORD_PTR>(&paints)));
  ClickItem(form, 1);  // C: 12 %
  EXPECT_EQ(form.SizeGauge.Progress(), 12);
  EXPECT_EQ(paints, 1);
  RemoveWindowSubclass(form.SizeGauge.Handle(), CountPaints, 1);
}

TEST(MainForm, ClickOutsideTheItemsChangesNothing) {
  const TFakeDriveQueries fake = MixedDrives();
  TMainForm form(fake);
  form.Create();
  form.Show();
  Pump();
  RECT list;
  GetClientRect(form.DrivesView.Handle(), &list);
  testing_support::Click(form.DrivesView.Handle(), list.right - 5, list.bottom - 5);
  EXPECT_EQ(form.DrivesView.Selected(), -1);
  EXPECT_EQ(form.InfoGrid.RowCount(), 10);
  EXPECT_EQ(form.InfoGrid.Cell(1, 1), L"");
  EXPECT_EQ(form.SizeGauge.Progress(), 0);
}

TEST(MainForm, RealDriveCFillsSixteenRows) {
  TMainForm form;
  form.Create();
  form.Show();
  Pump();
  const int c = IndexOfLetter(form, 'C');
  ASSERT_GE(c, 0);
  ClickItem(form, c);
  ASSERT_TRUE(testing_support::WaitForAnswers());
  ASSERT_EQ(form.InfoGrid.RowCount(), 17);
  EXPECT_EQ(form.InfoGrid.Cell(1, 2), L"Festplatte");
  // The gauge shows the table's own used share, rounded: both come from the same probe.
  std::string percent = runtime::Cp1252FromWide(form.InfoGrid.Cell(1, 16));
  std::replace(percent.begin(), percent.end(), ',', '.');
  EXPECT_EQ(form.SizeGauge.Progress(), drive::RoundHalfToEven(std::stod(percent))) << percent;
}

TEST(MainForm, F1AndTheHelpButtonAskForTheHelpContents) {
  TApplicationRecorder recorder;
  TMainForm form;
  form.Create();
  form.Show();
  Pump();
  SetFocus(form.InfoGrid.Handle());
  testing_support::PostKey(form.InfoGrid.Handle(), VK_F1);
  SetFocus(form.DrivesView.Handle());
  testing_support::PostKey(form.DrivesView.Handle(), VK_F1);
  testing_support::Click(form.HelpBtn.Handle(), 12, 12);
  ASSERT_EQ(recorder.HelpRequests.size(), 3u);
  for (const auto& request : recorder.HelpRequests) {
    EXPECT_EQ(request.Command, static_cast<UINT>(HELP_CONTENTS));
    EXPECT_EQ(request.Data, 0u);
    EXPECT_EQ(request.HelpFile, L"Sandrivo.hlp");
  }
  // Other keys ask for nothing.
  testing_support::PostKey(form.InfoGrid.Handle(), VK_F2);
  EXPECT_EQ(recorder.HelpRequests.size(), 3u);
}

TEST(MainForm, ErrorInAClickReachesTheErrorDisplay) {
  TApplicationRecorder recorder;
  TFakeDriveQueries fake = MixedDrives();
  fake.Drives['C'].ThrowOnVolume = true;
  TMainForm form(fake);
  form.AnswerPatience = testing_support::kFakeAnswerPatience;
  form.Create();
  form.Show();
  Pump();
  ClickItem(form, 2);
  EXPECT_EQ(form.SizeGauge.Progress(), 14);
  ClickItem(form, 1);
  ASSERT_EQ(recorder.Errors.size(), 1u);
  EXPECT_EQ(recorder.Errors[0], L"Laufwerk C:\\ antwortet nicht");
  EXPECT_EQ(form.SizeGauge.Progress(), 0) << "a failed probe leaves no figure of the drive before";
  // The window goes on working.
  ClickItem(form, 2);
  EXPECT_EQ(form.SizeGauge.Progress(), 14);
}

TEST(MainForm, SplitterMovesTheBorderWithinLimits) {
  TMainForm form;
  form.Create();
  form.Show();
  Pump();
  DragSplitter(form, 40);
  EXPECT_EQ(Width(BoundsInParent(form.DrivesView.Handle())), 249);
  DragSplitter(form, -400);
  EXPECT_EQ(Width(BoundsInParent(form.DrivesView.Handle())), 30);
  EXPECT_EQ(BoundsInParent(form.InfoGrid.Handle()).left, 33);
}

TEST(MainForm, HintsBelongToTheirControls) {
  TMainForm form;
  form.Create();
  HWND tips = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindOwnedToolTip, reinterpret_cast<LPARAM>(&tips));
  EXPECT_EQ(tips, nullptr) << "no tool-tip window before the pointer comes";
  // The first move over any hinted control makes the window with every hint.
  testing_support::PostMouse(form.SizeGauge.Handle(), WM_MOUSEMOVE, 5, 5);
  Pump();
  EnumThreadWindows(GetCurrentThreadId(), FindOwnedToolTip, reinterpret_cast<LPARAM>(&tips));
  ASSERT_NE(tips, nullptr);
  auto hintOf = [&](HWND control) {
    char text[256] = "";
    TOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    SendMessageA(tips, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
    return std::string(text);
  };
  EXPECT_EQ(hintOf(form.CopyInfoBtn.Handle()),
            "Kopiere Information des ausgewählten Laufwerks\r\nin die Zwischenablage");
  // Wine hands out at most 80 characters of a tip's text; the tip itself shows all of it.
  EXPECT_EQ(
      hintOf(form.CopyInfosBtn.Handle()),
      std::string("Kopiere die Information aller Laufwerke \r\nin tabellarischer Form in die Zwischenablage")
          .substr(0, 80));
  EXPECT_EQ(hintOf(form.SizeGauge.Handle()), "Belegter Speicherplatz des Laufwerks");
  EXPECT_EQ(hintOf(form.HelpBtn.Handle()), "");
}

TEST(MainForm, TheHintShowsWhileThePointerRestsOnAButton) {
  TMainForm form;
  form.Create();
  form.Show();
  Pump();
  RECT button;
  GetWindowRect(form.CopyInfoBtn.Handle(), &button);
  SetCursorPos(button.left + 12, button.top + 12);
  testing_support::PostMouse(form.CopyInfoBtn.Handle(), WM_MOUSEMOVE, 12, 12);
  HWND tips = nullptr;
  for (int wait = 0; wait < 300 && !(tips && IsWindowVisible(tips)); ++wait) {
    Pump();
    Sleep(10);
    EnumThreadWindows(GetCurrentThreadId(), FindOwnedToolTip, reinterpret_cast<LPARAM>(&tips));
  }
  ASSERT_NE(tips, nullptr);
  EXPECT_TRUE(IsWindowVisible(tips)) << "the tip appears while the pointer rests there";
  char text[256] = "";
  GetWindowTextA(tips, text, sizeof(text));
  EXPECT_EQ(std::string(text).substr(0, 12), "Kopiere Info");
}

TEST(MainForm, CloseButtonDestroysTheWindow) {
  TMainForm form;
  form.Create();
  form.Show();
  Pump();
  HWND window = form.Handle();
  testing_support::Click(form.CloseBtn.Handle(), 12, 12);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(form.Handle(), nullptr);
}

TEST(MainForm, TheMainBlockNamesTheProgramAndItsHelpFile) {
  toolkit::TApplication& application = toolkit::Application();
  const std::wstring title = application.Title(), helpFile = application.HelpFile;
  application.SetTitle(L"");
  application.HelpFile.clear();
  SetErrorMode(0);
  app::SetUpApplication(application);
  EXPECT_EQ(application.Title(), L"Quelix Disk-Info");
  EXPECT_EQ(application.HelpFile, L"Sandrivo.hlp");
  EXPECT_TRUE(SetErrorMode(0) & SEM_FAILCRITICALERRORS) << "probes of empty drives raise no system box";
  application.SetTitle(title);
  application.HelpFile = helpFile;
}

TEST(MainForm, TheMainBlockSwitchesInputMethodsOff) {
  toolkit::TApplication& application = toolkit::Application();
  const std::wstring title = application.Title(), helpFile = application.HelpFile;
  app::SetUpApplication(application);
  application.SetTitle(title);
  application.HelpFile = helpFile;
  // A thread's first window brings its default input-method window, unless they are off.
  HWND imeWindow = reinterpret_cast<HWND>(1);
  std::thread([&] {
    HWND window =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    imeWindow = ImmGetDefaultIMEWnd(window);
    DestroyWindow(window);
  }).join();
  EXPECT_EQ(imeWindow, nullptr);
}

TEST(MainForm, TheLayoutTableNamesEveryComponentOnce) {
  TMainForm form;
  std::set<const toolkit::TControl*> seen;
  for (const toolkit::TLayoutRow& row : app::MainLayout(form)) EXPECT_TRUE(seen.insert(row.Component).second);
  const toolkit::TControl* components[] = {&form.Panel1,        &form.DrivesView,  &form.InfoGrid,
                                           &form.ProgressPanel, &form.ButtonPanel, &form.Splitter,
                                           &form.InfoBtn,       &form.CloseBtn,    &form.CopyInfoBtn,
                                           &form.CopyInfosBtn,  &form.SizeGauge,   &form.HelpBtn};
  EXPECT_EQ(seen, std::set<const toolkit::TControl*>(std::begin(components), std::end(components)));
}

TEST(MainForm, TheInfoButtonOpensTheAboutDialogModally) {
  TMainForm form;
  form.Create();
  form.Show();
  Pump();
  about::TAboutBox* seen = nullptr;
  int pages = 0;
  std::wstring mail;
  bool mainEnabled = true;
  toolkit::Application().OnMessage = [&](MSG& message, bool&) {
    auto* box = dynamic_cast<about::TAboutBox*>(toolkit::TForm::OwningForm(message.hwnd));
    if (!box || seen) return;
    seen = box;
    pages = box->Notebook.PageCount();
    mail = box->MailLabel.Caption();
    mainEnabled = IsWindowEnabled(form.Handle()) != FALSE;
    PostMessageA(box->Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  };
  HWND focused = nullptr;
  {
    // What a screen reader hears of the focus while the dialog opens and closes.
    const testing_support::TWinEventListener listener(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS);
    testing_support::Click(form.InfoBtn.Handle(), 12, 12);
    Pump();
    for (HWND window : listener.Windows)
      if (window == toolkit::Application().Handle()) focused = window;
  }
  toolkit::Application().OnMessage = nullptr;
  EXPECT_EQ(focused, nullptr) << "a focus event for the hidden application window";
  ASSERT_NE(seen, nullptr) << "no dialog";
  EXPECT_EQ(pages, 17);
  EXPECT_EQ(mail, L"support@quelix.de");
  EXPECT_FALSE(mainEnabled);
  EXPECT_TRUE(IsWindowEnabled(form.Handle()));
  // The dialog is freed when it closes.
  EXPECT_EQ(FindWindowA(nullptr, "Infos"), nullptr);
}

TEST(MainForm, TheSplittersLimitsHoldWhenTheWindowNarrows) {
  TMainForm form;
  form.Create();
  form.Show();
  Pump();
  DragSplitter(form, 2000);
  const RECT panel = BoundsInParent(form.Panel1.Handle());
  EXPECT_EQ(Width(BoundsInParent(form.InfoGrid.Handle())), 30);
  RECT outer;
  GetWindowRect(form.Handle(), &outer);
  MoveWindow(form.Handle(), outer.left, outer.top, 300, Height(outer), TRUE);
  Pump();
  RECT client;
  GetClientRect(form.Handle(), &client);
  const RECT list = BoundsInParent(form.DrivesView.Handle());
  const RECT grid = BoundsInParent(form.InfoGrid.Handle());
  EXPECT_EQ(Width(grid), 30) << "the list gave way";
  EXPECT_EQ(grid.right, client.right);
  EXPECT_EQ(list.right, client.right - 33);
  EXPECT_LT(Width(panel), 500);
}

TEST(MainForm, TheListKeepsTheChosenWidthThroughMinimiseAndANarrowerWindow) {
  TMainForm form;
  form.Create();
  form.Show();
  Pump();
  DragSplitter(form, 40);
  ASSERT_EQ(Width(BoundsInParent(form.DrivesView.Handle())), 249);
  ShowWindow(form.Handle(), SW_MINIMIZE);
  Pump();
  EXPECT_EQ(Width(BoundsInParent(form.DrivesView.Handle())), 249) << "the minimised size is ignored";
  ShowWindow(form.Handle(), SW_RESTORE);
  Pump();
  EXPECT_EQ(Width(BoundsInParent(form.DrivesView.Handle())), 249) << "after minimise and restore";

  RECT outer;
  GetWindowRect(form.Handle(), &outer);
  MoveWindow(form.Handle(), outer.left, outer.top, 250, Height(outer), TRUE);
  Pump();
  EXPECT_LT(Width(BoundsInParent(form.DrivesView.Handle())), 249) << "the list gives way";
  MoveWindow(form.Handle(), outer.left, outer.top, Width(outer), Height(outer), TRUE);
  Pump();
  EXPECT_EQ(Width(BoundsInParent(form.DrivesView.Handle())), 249) << "and takes its width back";
}

TEST(MainForm, TheSplitterStripShowsTheButtonFaceAfterADrag) {
  TMainForm form;
  form.Create();
  form.Show();
  Pump();
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  for (int dx : {60, -40, 120, -100}) {
    DragSplitter(form, dx);
    UpdateWindow(form.Handle());
    HWND splitter = form.Splitter.Handle();
    RECT strip;
    GetClientRect(splitter, &strip);
    HDC dc = GetDC(splitter);
    int wrong = 0;
    for (int y = 0; y < strip.bottom; y += 3)
      for (int x = 0; x < strip.right; ++x) wrong += GetPixel(dc, x, y) != face;
    ReleaseDC(splitter, dc);
    EXPECT_EQ(wrong, 0) << "after a drag by " << dx;
  }
}
