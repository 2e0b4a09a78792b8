// The properties window: the recorded devices as a screen reader reads them, the ways it opens from
// the main window, its copy, a drive that hangs, Wine's own answers through Alt+Enter, 144 dpi.
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/MainForm.h"
#include "app/PropertiesForm.h"
#include "runtime/Text.h"
#include "tests/support/AccessibleReading.h"
#include "tests/support/FakeStorageQueries.h"
#include "tests/support/WinEvents.h"
#include "tests/support/WindowTesting.h"
#include "toolkit/Application.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Dpi.h"

using app::TPropertiesForm;
using testing_support::PumpUntil;
using testing_support::TAccessible;

namespace {

// A key typed on the keyboard, with the keys held meanwhile.
void Type(WORD key, std::initializer_list<BYTE> held = {}) {
  for (const BYTE modifier : held) keybd_event(modifier, 0, 0, 0);
  keybd_event(static_cast<BYTE>(key), 0, 0, 0);
  keybd_event(static_cast<BYTE>(key), 0, KEYEVENTF_KEYUP, 0);
  for (const BYTE modifier : held) keybd_event(modifier, 0, KEYEVENTF_KEYUP, 0);
}

HWND OpenMenu() {
  const HWND menu = FindWindowW(L"#32768", nullptr);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

// Types the key of the menu's entry "&Eigenschaften" once a menu has opened (within 5 s); a menu that
// does not take it is left with Esc, so that a test fails instead of waiting. Whether a menu opened.
bool ChooseFromMenu() {
  for (const DWORD start = GetTickCount(); !OpenMenu(); Sleep(10))
    if (GetTickCount() - start > 5000) return false;
  Type('E');
  for (const DWORD start = GetTickCount(); OpenMenu(); Sleep(10))
    if (GetTickCount() - start > 5000) Type(VK_ESCAPE);
  return true;
}

struct TRecorded {
  TRecorded() { testing_support::AddRecordedDrives(drives, storage); }
  testing_support::TFakeDriveQueries drives;
  testing_support::TFakeStorageQueries storage;
};

// What a screen reader reads of the table's rows ("Medium: Halbleiter (ohne Suchzeit)").
std::vector<std::string> RowNames(const TPropertiesForm& form) {
  const TAccessible table = TAccessible::OfWindow(form.InfoGrid.Handle());
  std::vector<std::string> rows;
  for (long i = 1; i <= table.ChildCount(); ++i) rows.push_back(table.Child(i).Name());
  return rows;
}

bool Has(const std::vector<std::string>& rows, const std::string& row) {
  return std::find(rows.begin(), rows.end(), row) != rows.end();
}

// The properties of a drive of the type, shown and answered (or not, by the patience).
std::unique_ptr<TPropertiesForm> Shown(const TRecorded& recorded, char letter, UINT type,
                                       UINT patience = 15000) {
  auto form = std::make_unique<TPropertiesForm>(nullptr, drive::TListedDrive{letter, type}, recorded.drives,
                                                recorded.storage);
  form->Patience = patience;
  form->Create();
  form->Show();
  EXPECT_TRUE(PumpUntil([&] { return form->Settled(); }, patience + 10000));
  testing_support::Pump();
  return form;
}

int IndexOf(const app::TMainForm& form, char letter) {
  for (int i = 0; i < form.DrivesView.Count(); ++i)
    if (form.DrivesView.Caption(i)[0] == static_cast<wchar_t>(letter)) return i;
  return -1;
}

// Runs open() with a hook that reads the properties window once it has its answer and closes it;
// returns what a screen reader read of its caption and rows (empty when none opened).
std::vector<std::string> OpenedRows(const std::function<void()>& open, DWORD milliseconds = 7000) {
  std::vector<std::string> read;
  toolkit::Application().OnMessage = [&](MSG& message, bool&) {
    auto* properties = dynamic_cast<TPropertiesForm*>(toolkit::TForm::OwningForm(message.hwnd));
    if (!properties || !properties->Settled() || !read.empty()) return;
    read = RowNames(*properties);
    read.insert(read.begin(), TAccessible::OfWindow(properties->Handle()).Name());
    PostMessageW(properties->Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  };
  open();
  PumpUntil([&] { return !read.empty(); }, milliseconds);
  toolkit::Application().OnMessage = nullptr;
  return read;
}

}  // namespace

TEST(PropertiesForm, EachRecordedDeviceReadsAsADialogWithItsMediumBusAndAlignment) {
  testing_support::TComApartment apartment;
  const TRecorded recorded;
  const testing_support::TWinEventListener listener(EVENT_SYSTEM_DIALOGSTART, EVENT_SYSTEM_DIALOGSTART);
  const struct {
    char letter;
    UINT type;
    std::vector<std::string> rows;
  } devices[] = {
      {'C',
       DRIVE_FIXED,
       {"Medium: Halbleiter (ohne Suchzeit)", "Bus: NVMe", "Beginn auf 1 MiB ausgerichtet: ja"}},
      {'D', DRIVE_FIXED, {"Medium: Halbleiter (ohne Suchzeit)", "Bus: SATA", "Partitionsstil: GPT"}},
      {'E', DRIVE_REMOVABLE, {"Medium: Halbleiter (ohne Suchzeit)", "Bus: USB", "Wechselmedium: ja"}},
      {'F',
       DRIVE_FIXED,
       {"Medium: rotierend (mit Suchzeit)", "Bus: SATA", "Beginn auf 1 MiB ausgerichtet: nein"}},
      {'S', DRIVE_REMOTE, {"Netzwerkfreigabe: \\\\fileserver\\daten", "Kontingent begrenzt Benutzer: ja"}},
      {'R', DRIVE_FIXED, {"Laufwerksbuchstabe: R", "Status: Windows gibt keine Auskunft"}},
  };
  for (const auto& d : devices) {
    const auto form = Shown(recorded, d.letter, d.type);
    const TAccessible dialog = TAccessible::OfWindow(form->Handle());
    EXPECT_EQ(dialog.Role(), ROLE_SYSTEM_DIALOG);
    EXPECT_EQ(dialog.Name(), std::string("Eigenschaften von ") + d.letter + ":");
    const TAccessible table = TAccessible::OfWindow(form->InfoGrid.Handle());
    EXPECT_EQ(table.Name(), "Laufwerkseigenschaften");
    EXPECT_TRUE(table.State() & STATE_SYSTEM_FOCUSED) << "the keyboard starts in the table";
    const std::vector<std::string> rows = RowNames(*form);
    for (const std::string& row : d.rows) EXPECT_TRUE(Has(rows, row)) << d.letter << ": no \"" << row << "\"";
  }
  EXPECT_EQ(listener.Events.size(), std::size(devices)) << "a screen reader hears each dialog open";
}

TEST(PropertiesForm, OpensByAltEnterTheDriveListsMenuAndTheSystemMenu) {
  TRecorded recorded;
  app::TMainForm form(recorded.drives, recorded.storage);
  form.AnswerPatience = testing_support::kFakeAnswerPatience;
  form.Create();
  form.Show();
  testing_support::Pump();
  const HWND list = form.DrivesView.Handle();
  const POINT item = testing_support::ListItemCenter(list, 0);
  testing_support::Click(list, item.x, item.y);
  SetForegroundWindow(form.Handle());
  SetFocus(list);
  const HMENU system = GetSystemMenu(form.Handle(), FALSE);
  UINT systemCommand = 0;
  for (int i = 0; i < GetMenuItemCount(system); ++i) {
    wchar_t text[64] = L"";
    GetMenuStringW(system, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    if (std::wstring(text).starts_with(L"Eigenschaften...")) systemCommand = GetMenuItemID(system, i);
  }
  const struct {
    const char* way;
    bool byMenu;  // through the drive list's menu
    std::function<void()> open;
  } ways[] = {
      {"Alt+Enter", false, [&] { testing_support::PostKeyWith(list, VK_RETURN, {VK_MENU}); }},
      {"system menu", false, [&] { PostMessageW(form.Handle(), WM_SYSCOMMAND, systemCommand, 0); }},
      // Typed: Windows makes the menu's message of these keys as they come from the keyboard.
      {"Shift+F10", true, [] { Type(VK_F10, {VK_SHIFT}); }},
      {"menu key", true, [] { Type(VK_APPS); }},
      {"right button", true,
       [&] {
         POINT screen = item;
         ClientToScreen(list, &screen);
         SetCursorPos(screen.x, screen.y);
         testing_support::PostMouse(list, WM_RBUTTONDOWN, item.x, item.y, MK_RBUTTON);
         testing_support::PostMouse(list, WM_RBUTTONUP, item.x, item.y);
       }},
  };
  int menus = 0;
  for (const auto& w : ways) {
    // The menu is answered from a thread of its own: the window's thread runs it.
    std::thread chooser([&] { menus += w.byMenu && ChooseFromMenu(); });
    const std::vector<std::string> read = OpenedRows(w.open);
    chooser.join();
    EXPECT_EQ(read.empty() ? "" : read.front(), "Eigenschaften von C:") << w.way;
  }
  EXPECT_EQ(menus, 3) << "the drive list's menu opened for its three ways";
}

TEST(PropertiesForm, CopiesItsTableAsTextAndAsATypedTable) {
  const TRecorded recorded;
  const auto form = Shown(recorded, 'C', DRIVE_FIXED);
  testing_support::PostKeyWith(form->InfoGrid.Handle(), 'C', {VK_CONTROL});
  const std::wstring text = toolkit::ClipboardUnicodeText(nullptr);
  EXPECT_EQ(text.rfind(L"Laufwerksbuchstabe;C\r\nLaufwerkstyp;Festplatte\r\n"
                       L"Volume-GUID-Pfad;\\\\?\\Volume{3f2504e0-4f89-11d3-9a0c-0305e82c3301}\\\r\n"
                       L"Bereitstellungspunkte;C:\\, D:\\Daten\\System\\\r\n",
                       0),
            0u)
      << runtime::Utf8FromWide(text);
  EXPECT_EQ(runtime::WideFromCp1252(toolkit::ClipboardText(nullptr)), text);
  const std::string html = toolkit::ClipboardBytes(nullptr, toolkit::HtmlClipboardFormat());
  EXPECT_NE(html.find("x:num=\"122683392\""), std::string::npos) << "the partition's offset as a number";
  EXPECT_NE(html.find("Seriennummer des Ger\xC3\xA4ts</td><td x:str"), std::string::npos) << html;
}

TEST(PropertiesForm, ADriveThatHangsHoldsNothingAndTheWindowAnswersMeanwhile) {
  TRecorded recorded;
  recorded.drives.Drives['C'].Blocks = true;
  TPropertiesForm form(nullptr, {'C', DRIVE_FIXED}, recorded.drives, recorded.storage);
  form.Patience = 300;
  form.Create();
  form.Show();
  ASSERT_TRUE(recorded.drives.WaitUntilBlocked(10000));
  EXPECT_EQ(RowNames(form).back(), "Status: wird abgefragt ...");
  const testing_support::TWinEventListener listener(EVENT_OBJECT_REORDER, EVENT_OBJECT_REORDER);
  // The window's own thread runs its messages while the drive hangs: the patience ends the wait.
  ASSERT_TRUE(PumpUntil([&] { return form.Settled(); }));
  const std::vector<std::string> expected{"Laufwerksbuchstabe: C", "Laufwerkstyp: Festplatte",
                                          "Status: hat nicht rechtzeitig geantwortet"};
  EXPECT_EQ(RowNames(form), expected);
  EXPECT_TRUE(listener.HeardFrom(form.InfoGrid.Handle(), EVENT_OBJECT_REORDER)) << "read anew";
  recorded.drives.Release();
  Sleep(100);
  testing_support::Pump();
  EXPECT_EQ(RowNames(form), expected) << "a late answer changes nothing";
}

TEST(PropertiesForm, AltEnterShowsWhatWineAnswersTheGuidPathOfCAndTheShareOfAMappedDrive) {
  testing_support::TComApartment apartment;
  app::TMainForm form;
  form.Create();
  form.Show();
  const char* share = std::getenv("SANDRIVO_TEST_SHARE");
  const std::string letters = std::string("C") + (share && share[0] ? share : "");
  // A fresh server answers its first volume query late: the list waits for the drives.
  ASSERT_TRUE(PumpUntil(
      [&] {
        return std::all_of(letters.begin(), letters.end(), [&](char l) { return IndexOf(form, l) >= 0; });
      },
      30000));
  for (const char letter : letters) {
    form.DrivesView.Select(IndexOf(form, letter));
    const std::vector<std::string> rows = OpenedRows(
        [&] { testing_support::PostKeyWith(form.DrivesView.Handle(), VK_RETURN, {VK_MENU}); }, 30000);
    if (letter == 'C') {
      EXPECT_TRUE(std::any_of(rows.begin(), rows.end(),
                              [](const std::string& row) {
                                return row.starts_with("Volume-GUID-Pfad: \\\\?\\Volume{") &&
                                       row.ends_with("}\\");
                              }))
          << rows.size() << " rows";
    } else {
      EXPECT_TRUE(Has(rows, "Netzwerkfreigabe: \\\\server\\share")) << rows.size() << " rows";
    }
  }
  if (letters.size() == 1) GTEST_SKIP() << "the test command maps a share";
}

namespace {

// Every figure that scales: the client area, the OK button's place, the table's rows and names'
// column, the font's height.
std::vector<long> Figures(const TPropertiesForm& form) {
  RECT client;
  GetClientRect(form.Handle(), &client);
  const RECT ok = testing_support::BoundsInParent(form.OKButton.Handle());
  LOGFONTW font{};
  GetObjectW(form.Font(), sizeof(font), &font);
  return {client.right,
          client.bottom,
          ok.left,
          ok.top,
          ok.right,
          ok.bottom,
          form.InfoGrid.RowHeight(0),
          form.InfoGrid.RowHeight(1),
          form.InfoGrid.ColWidth(0),
          -font.lfHeight};
}

}  // namespace

// Not a test of its own: the child process of the test below, started at another system DPI.
TEST(PropertiesFormDpiReport, DISABLED_PrintsWhatScales) {
  std::printf("DPI");
  for (const long figure : Figures(*Shown(TRecorded(), 'C', DRIVE_FIXED))) std::printf(" %ld", figure);
  std::printf("\n");
  std::fflush(stdout);
}

TEST(PropertiesFormDpi, EveryFigureScalesAtSystemDpi144) {
  const std::vector<long> at96 = Figures(*Shown(TRecorded(), 'C', DRIVE_FIXED));
  const std::string report = testing_support::RunAtSystemDpi(144, "PropertiesFormDpiReport.*");
  std::istringstream in(report.substr(std::min(report.find("DPI "), report.size()) + 3));
  for (size_t i = 0; i < at96.size(); ++i) {
    long figure = 0;
    ASSERT_TRUE(in >> figure) << report;
    EXPECT_LE(std::abs(figure - toolkit::Scale(static_cast<int>(at96[i]), 144)), 1)
        << "figure " << i << ": " << figure << " for " << at96[i] << " at 96 dpi";
  }
}
