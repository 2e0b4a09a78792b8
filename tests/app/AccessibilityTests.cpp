// The main window as a screen reader reads it: every own control with a role, a name and, where it
// has one, a value; the table's rows and cells; the gauge's value and its change event; the tool
// buttons' default action.
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "runtime/Handles.h"
#include "runtime/Text.h"
#include "tests/support/AccessibleReading.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FakeDriveQueries.h"
#include "tests/support/WinEvents.h"
#include "tests/support/WindowTesting.h"
#include "toolkit/Accessible.h"
#include "toolkit/Clipboard.h"

using app::TMainForm;
using testing_support::FixedDrive;
using testing_support::Pump;
using testing_support::TAccessible;

namespace {

struct TValueChange {
  HWND Window;
  LONG Object, Child;
};
std::vector<TValueChange>* valueChanges = nullptr;

void CALLBACK RecordValueChange(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (valueChanges) valueChanges->push_back({window, object, child});
}

class AccessibilityTest : public ::testing::Test {
 protected:
  AccessibilityTest() : form(fake) {
    fake.Drives['C'] = FixedDrive(1000, 280);  // 72 % used
    fake.Drives['D'] = FixedDrive(1000, 875);  // 12.5 %
    form.AnswerPatience = testing_support::kFakeAnswerPatience;
    form.Create();
    form.Show();
    Pump();
  }
  void ClickDrive(int index) {
    const POINT p = testing_support::ListItemCenter(form.DrivesView.Handle(), index);
    testing_support::Click(form.DrivesView.Handle(), p.x, p.y);
  }

  testing_support::TComApartment apartment;
  testing_support::TFakeDriveQueries fake;
  TMainForm form;
};

}  // namespace

TEST_F(AccessibilityTest, EveryOwnControlHasARoleAndAName) {
  const struct {
    const toolkit::TControl& control;
    long role;
    const char* name;
    const char* shortcut;
  } expected[] = {
      {form.Panel1, ROLE_SYSTEM_PANE, "Laufwerke", ""},
      {form.InfoGrid, ROLE_SYSTEM_TABLE, "Laufwerksinformation", ""},
      {form.ProgressPanel, ROLE_SYSTEM_PANE, "Belegung", ""},
      {form.ButtonPanel, ROLE_SYSTEM_PANE, "Werkzeugleiste", ""},
      {form.Splitter, ROLE_SYSTEM_SEPARATOR, "Trennlinie", ""},
      {form.InfoBtn, ROLE_SYSTEM_PUSHBUTTON, "Info", "Strg+I"},
      {form.CloseBtn, ROLE_SYSTEM_PUSHBUTTON, "Beenden", "Alt+F4"},
      {form.CopyInfoBtn, ROLE_SYSTEM_PUSHBUTTON, "Information des ausgewählten Laufwerks kopieren", "Strg+C"},
      {form.CopyInfosBtn, ROLE_SYSTEM_PUSHBUTTON, "Information aller Laufwerke kopieren", "Strg+Umschalt+C"},
      {form.SizeGauge, ROLE_SYSTEM_PROGRESSBAR, "Belegter Speicherplatz", ""},
      {form.HelpBtn, ROLE_SYSTEM_PUSHBUTTON, "Hilfe", "F1"},
  };
  for (const auto& e : expected) {
    const TAccessible object = TAccessible::OfWindow(e.control.Handle());
    ASSERT_TRUE(object) << e.name;
    EXPECT_EQ(object.Role(), e.role) << e.name;
    EXPECT_EQ(object.Name(), e.name);
    EXPECT_EQ(object.Shortcut(), e.shortcut) << e.name;
    EXPECT_EQ(object.State() & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_UNAVAILABLE), 0) << e.name;
    if (e.role == ROLE_SYSTEM_PUSHBUTTON) {
      EXPECT_EQ(object.DefaultAction(), "Drücken") << e.name;
    }
  }
  // The list is the system's own control; the table takes the focus.
  EXPECT_TRUE(TAccessible::OfWindow(form.InfoGrid.Handle()).State() & STATE_SYSTEM_FOCUSABLE);
  SetFocus(form.InfoGrid.Handle());
  EXPECT_TRUE(TAccessible::OfWindow(form.InfoGrid.Handle()).State() & STATE_SYSTEM_FOCUSED);
}

TEST_F(AccessibilityTest, TheTableReadsAsRowsOfCellsOfTheShownDrive) {
  const TAccessible table = TAccessible::OfWindow(form.InfoGrid.Handle());
  EXPECT_EQ(table.ChildCount(), 9) << "the empty rows below the header strip";
  EXPECT_EQ(table.Child(1).Name(), "");
  ClickDrive(0);  // C:
  ASSERT_EQ(table.ChildCount(), 16);
  const TAccessible first = table.Child(1);
  ASSERT_TRUE(first);
  EXPECT_EQ(first.Role(), ROLE_SYSTEM_ROW);
  EXPECT_EQ(first.Name(), "Laufwerksbuchstabe: C");
  ASSERT_EQ(first.ChildCount(), 2);
  EXPECT_EQ(first.Role(1), ROLE_SYSTEM_CELL);
  EXPECT_EQ(first.Name(1), "Laufwerksbuchstabe");
  EXPECT_EQ(first.Name(2), "Laufwerksbuchstabe: C") << "a value reads with its row's name";
  const TAccessible last = table.Child(16);
  EXPECT_EQ(last.Name(2), "belegt (%): " + runtime::Cp1252FromWide(form.InfoGrid.Cell(1, 16)));
  EXPECT_EQ(last.Name(), "belegt (%): " + runtime::Cp1252FromWide(form.InfoGrid.Cell(1, 16)));
  EXPECT_FALSE(table.Child(17)) << "past the last row";
}

// Moving through the table, a screen reader hears each cell the mark moves to, by an id that the
// table's object answers for, and accFocus names that cell.
TEST_F(AccessibilityTest, EveryMoveInTheTableAnnouncesTheCellWithItsRowName) {
  ClickDrive(0);  // C:
  SetFocus(form.InfoGrid.Handle());
  Pump();
  testing_support::TWinEventListener listener(EVENT_OBJECT_FOCUS, EVENT_OBJECT_SELECTION);
  testing_support::PostKey(form.InfoGrid.Handle(), VK_DOWN);
  testing_support::PostKey(form.InfoGrid.Handle(), VK_RIGHT);
  Pump();
  std::vector<LONG> focused;
  for (const auto& [event, child] : listener.Events)
    if (event == EVENT_OBJECT_FOCUS) focused.push_back(child);
  ASSERT_EQ(focused.size(), 2u);
  EXPECT_TRUE(listener.Heard(EVENT_OBJECT_SELECTION, focused[1]));
  const TAccessible table = TAccessible::OfWindow(form.InfoGrid.Handle());
  EXPECT_EQ(table.Name(focused[0]), "Laufwerkstyp") << "Down from the first row's name";
  EXPECT_EQ(table.Name(focused[1]), "Laufwerkstyp: Festplatte");
  EXPECT_EQ(table.Role(focused[1]), ROLE_SYSTEM_CELL);
  EXPECT_EQ(table.Focus(), focused[1]);
  EXPECT_EQ(table.State(focused[1]) & STATE_SYSTEM_FOCUSED, STATE_SYSTEM_FOCUSED);
  EXPECT_EQ(table.State(focused[0]) & STATE_SYSTEM_FOCUSED, 0) << "the cell the mark has left";
}

// Object navigation from the window reaches every control inside the panels, and hit-testing a
// point answers the deepest object there.
TEST_F(AccessibilityTest, AWalkFromTheWindowReachesEveryControlAndAPointItsDeepestObject) {
  ClickDrive(0);  // C:
  const TAccessible window = TAccessible::OfWindow(form.Handle());
  EXPECT_EQ(window.Name(), "Quelix Disk-Info");
  EXPECT_EQ(TAccessible::OfWindow(form.DrivesView.Handle()).Name(), "Laufwerke") << "the list itself";
  const std::vector<std::string> names = testing_support::WalkNames(window);
  for (const char* name : {"Laufwerke", "Werkzeugleiste", "Information des ausgewählten Laufwerks kopieren",
                           "Information aller Laufwerke kopieren", "Hilfe", "Info", "Beenden",
                           "Belegter Speicherplatz", "Laufwerksinformation", "Laufwerkstyp: Festplatte"})
    EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
  // In the order they show: the tool bar above the drives, its buttons from the left.
  EXPECT_EQ(window.Child(1).Name(), "Werkzeugleiste");
  EXPECT_EQ(window.Child(window.ChildCount()).Name(), "Belegung");
  const TAccessible toolbar = TAccessible::OfWindow(form.ButtonPanel.Handle());
  std::vector<std::string> buttons;
  for (long i = 1; i <= toolbar.ChildCount(); ++i) buttons.push_back(toolbar.Child(i).Name());
  EXPECT_EQ(buttons,
            (std::vector<std::string>{"Information des ausgewählten Laufwerks kopieren",
                                      "Information aller Laufwerke kopieren", "Hilfe", "Info", "Beenden"}));
  // "First child" and "last child" reach the window's first and last child windows.
  for (const LONG direction : {NAVDIR_FIRSTCHILD, NAVDIR_LASTCHILD}) {
    VARIANT self{}, end{};
    self.vt = VT_I4;
    ASSERT_EQ(window.Get()->accNavigate(direction, self, &end), S_OK) << direction;
    ASSERT_EQ(end.vt, VT_DISPATCH) << direction;
    EXPECT_EQ(TAccessible::FromDispatch(end.pdispVal).Name(),
              window.Child(direction == NAVDIR_FIRSTCHILD ? 1 : window.ChildCount()).Name())
        << direction;
  }

  RECT button;
  GetWindowRect(form.HelpBtn.Handle(), &button);
  VARIANT hit;
  VariantInit(&hit);
  ASSERT_EQ(window.Get()->accHitTest(button.left + 5, button.top + 5, &hit), S_OK);
  ASSERT_EQ(hit.vt, VT_DISPATCH);
  const TAccessible panel = TAccessible::FromDispatch(hit.pdispVal);
  VariantInit(&hit);
  ASSERT_EQ(panel.Get()->accHitTest(button.left + 5, button.top + 5, &hit), S_OK);
  ASSERT_EQ(hit.vt, VT_DISPATCH);
  EXPECT_EQ(TAccessible::FromDispatch(hit.pdispVal).Name(), "Hilfe");
  // In the table, the row there, as an object with its cells.
  const TAccessible table = TAccessible::OfWindow(form.InfoGrid.Handle());
  VARIANT second{};
  second.vt = VT_I4;
  second.lVal = 2;
  LONG left = 0, top = 0, width = 0, height = 0;
  ASSERT_EQ(table.Get()->accLocation(&left, &top, &width, &height, second), S_OK);
  VariantInit(&hit);
  ASSERT_EQ(table.Get()->accHitTest(left + width / 2, top + height / 2, &hit), S_OK);
  ASSERT_EQ(hit.vt, VT_DISPATCH);
  EXPECT_EQ(TAccessible::FromDispatch(hit.pdispVal).Name(), "Laufwerkstyp: Festplatte");
}

// Tab from the drive list into the table: a screen reader hears the cell the mark is on, with its
// row's name, not only the table; an empty value reads as empty.
TEST_F(AccessibilityTest, TabIntoTheTableNamesTheCurrentCellAndAnEmptyValueReadsEmpty) {
  fake.Drives['C'].Volume.VolumeName.clear();
  ClickDrive(0);  // C:, the focus in the list
  ASSERT_EQ(GetFocus(), form.DrivesView.Handle());
  testing_support::TWinEventListener listener(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS);
  testing_support::PostKey(form.DrivesView.Handle(), VK_TAB);
  Pump();
  ASSERT_EQ(GetFocus(), form.InfoGrid.Handle());
  const TAccessible table = TAccessible::OfWindow(form.InfoGrid.Handle());
  ASSERT_EQ(table.Focus(), toolkit::AccChildId(toolkit::TAccPath().Child(0).Child(0)));
  // The cell's focus event comes after the table's own: a reader follows the last one.
  ASSERT_FALSE(listener.Events.empty());
  EXPECT_EQ(listener.Events.back(), std::pair(DWORD{EVENT_OBJECT_FOCUS}, table.Focus()));
  EXPECT_EQ(listener.Windows.back(), form.InfoGrid.Handle());
  EXPECT_EQ(table.Name(table.Focus()), "Laufwerksbuchstabe");
  EXPECT_TRUE(table.State(table.Focus()) & STATE_SYSTEM_FOCUSED);
  // The volume name's row: "Volume-Name: leer", as row and as value.
  const TAccessible row = table.Child(3);
  ASSERT_EQ(row.Name(1), "Volume-Name");
  EXPECT_EQ(row.Name(2), "Volume-Name: leer");
  EXPECT_EQ(row.Name(), "Volume-Name: leer");
  EXPECT_EQ(table.Child(4).Name(), "Filesystem: NTFS") << "a value that is there reads as itself";
}

TEST_F(AccessibilityTest, TheGaugeReadsItsPercentageAndTellsOfEveryChange) {
  std::vector<TValueChange> changes;
  valueChanges = &changes;
  HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, RecordValueChange,
                      GetCurrentProcessId(), GetCurrentThreadId(), WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  const TAccessible gauge = TAccessible::OfWindow(form.SizeGauge.Handle());
  EXPECT_EQ(gauge.Value(), "0 %");
  ClickDrive(0);
  Pump();
  EXPECT_EQ(gauge.Value(), "72 %");
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].Window, form.SizeGauge.Handle());
  EXPECT_EQ(changes[0].Object, OBJID_CLIENT);
  EXPECT_EQ(changes[0].Child, CHILDID_SELF);
  ClickDrive(0);  // the same figure again: no change
  Pump();
  EXPECT_EQ(changes.size(), 1u);
  ClickDrive(1);
  Pump();
  EXPECT_EQ(gauge.Value(), "12 %");
  EXPECT_EQ(changes.size(), 2u);
  UnhookWinEvent(hook);
  valueChanges = nullptr;
}

TEST_F(AccessibilityTest, TheCopyButtonsDefaultActionCopiesTheDrive) {
  ClickDrive(0);
  toolkit::SetClipboardText(form.Handle(), "", L"");
  const TAccessible copy = TAccessible::OfWindow(form.CopyInfoBtn.Handle());
  EXPECT_EQ(copy.DoDefaultAction(), S_OK);
  Pump();
  EXPECT_NE(toolkit::ClipboardText(form.Handle()).find("Laufwerksbuchstabe;C"), std::string::npos);
}

TEST_F(AccessibilityTest, AnObjectOutlivingItsWindowAnswersNoMore) {
  const int before = toolkit::TAccessibleLink::LiveObjects();
  {
    TAccessible gauge = TAccessible::OfWindow(form.SizeGauge.Handle());
    ASSERT_TRUE(gauge);
    EXPECT_GT(toolkit::TAccessibleLink::LiveObjects(), before);
    DestroyWindow(form.Handle());
    Pump();
    EXPECT_EQ(gauge.Value(), "<failed>");
    EXPECT_EQ(gauge.Role(), -1);
  }
  EXPECT_LE(toolkit::TAccessibleLink::LiveObjects(), before) << "the last reference freed the object";
}

// The other side of the next test: the main window in a process of its own, until it is closed.
TEST(AccessibilityServer, DISABLED_ShowsTheMainWindowWithADrive) {
  testing_support::TFakeDriveQueries fake;
  fake.Drives['C'] = FixedDrive(1000, 280);
  TMainForm form(fake);
  form.AnswerPatience = testing_support::kFakeAnswerPatience;
  form.Create();
  form.Show();
  const POINT p = testing_support::ListItemCenter(form.DrivesView.Handle(), 0);
  testing_support::Click(form.DrivesView.Handle(), p.x, p.y);
  for (int wait = 0; wait < 3000 && form.Handle(); ++wait) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    Pump();
  }
}

namespace {
struct TFoundWindow {
  DWORD Process;
  HWND Window;
};
BOOL CALLBACK FindProcessWindow(HWND window, LPARAM data) {
  auto* found = reinterpret_cast<TFoundWindow*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char title[64] = "";
  GetWindowTextA(window, title, sizeof(title));
  if (process == found->Process && std::string(title) == "Quelix Disk-Info" && IsWindowVisible(window))
    found->Window = window;
  return TRUE;
}
}  // namespace

TEST(Accessibility, AScreenReadersProcessReadsTheGaugeAndWalksTheWindow) {
  testing_support::TComApartment apartment;
  char program[MAX_PATH];
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  std::string commandLine =
      std::string("\"") + program +
      "\" --gtest_also_run_disabled_tests --gtest_filter=AccessibilityServer.* --gtest_brief=1";
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(testing_support::StartProcess(CreateProcessA, program, commandLine.data(), nullptr, nullptr,
                                            FALSE, 0, nullptr, nullptr, &startup, &process));
  const runtime::TKernelHandle processHandle(process.hProcess), thread(process.hThread);
  TFoundWindow found{process.dwProcessId, nullptr};
  for (int wait = 0; wait < 500 && !found.Window; ++wait) {
    Sleep(20);
    EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&found));
  }
  ASSERT_NE(found.Window, nullptr);
  HWND gauge = nullptr;
  std::string value;
  for (int wait = 0; wait < 250 && value != "72 %"; ++wait) {
    Sleep(20);
    gauge =
        FindWindowExA(FindWindowExA(found.Window, nullptr, "TkPanel", nullptr), nullptr, "TkGauge", nullptr);
    for (HWND panel = FindWindowExA(found.Window, nullptr, "TkPanel", nullptr); panel && !gauge;
         panel = FindWindowExA(found.Window, panel, "TkPanel", nullptr))
      gauge = FindWindowExA(panel, nullptr, "TkGauge", nullptr);
    value = TAccessible::OfWindow(gauge).Value();
  }
  EXPECT_EQ(value, "72 %");
  EXPECT_EQ(TAccessible::OfWindow(gauge).Role(), ROLE_SYSTEM_PROGRESSBAR);
  // Object navigation from the other process's window reaches the controls in its panels.
  const std::vector<std::string> names = testing_support::WalkNames(TAccessible::OfWindow(found.Window));
  for (const char* name : {"Hilfe", "Belegter Speicherplatz", "Laufwerkstyp: Festplatte"})
    EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
  PostMessageA(found.Window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
}
