// The properties window: the recorded devices' rows as a screen reader reads them, the ways it opens
// from the main window, its copy, a drive that hangs, Wine's own answers, 144 dpi and the schemes.
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <iterator>
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
#include "toolkit/HighContrast.h"
#include "toolkit/Theme.h"

using app::TPropertiesForm;
using testing_support::Pump;
using testing_support::PumpUntil;
using testing_support::TAccessible;

namespace {

// A key typed on the keyboard, with the keys held, released in reverse order.
void Type(WORD key, std::initializer_list<BYTE> held = {}) {
  for (const BYTE modifier : held) keybd_event(modifier, 0, 0, 0);
  keybd_event(static_cast<BYTE>(key), 0, 0, 0);
  keybd_event(static_cast<BYTE>(key), 0, KEYEVENTF_KEYUP, 0);
  for (auto modifier = std::rbegin(held); modifier != std::rend(held); ++modifier)
    keybd_event(*modifier, 0, KEYEVENTF_KEYUP, 0);
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

// The open popup menu, or null.
HWND OpenMenu() {
  const HWND menu = FindWindowW(L"#32768", nullptr);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

// Chooses the menu's entry "&Eigenschaften" by its key, as a user types it, once the menu has
// opened (within the milliseconds); a menu that does not take it is left with Esc, so that a test
// fails instead of waiting. Returns whether a menu opened.
bool ChooseFromMenu(DWORD milliseconds = 5000) {
  const DWORD start = GetTickCount();
  while (!OpenMenu()) {
    if (GetTickCount() - start > milliseconds) return false;
    Sleep(10);
  }
  Type('E');
  for (DWORD waited = GetTickCount(); OpenMenu(); Sleep(10))
    if (GetTickCount() - waited > milliseconds) Type(VK_ESCAPE);
  return true;
}

bool Has(const std::vector<std::string>& rows, const std::string& row) {
  return std::find(rows.begin(), rows.end(), row) != rows.end();
}

// The properties of a drive of the type, shown and answered (or not, by the patience).
std::unique_ptr<TPropertiesForm> Shown(const drive::TDriveQueries& drives,
                                       const drive::TStorageQueries& storage, char letter, UINT type,
                                       UINT patience = 15000) {
  auto form = std::make_unique<TPropertiesForm>(nullptr, drive::TListedDrive{letter, type}, drives, storage);
  form->Patience = patience;
  form->Create();
  form->Show();
  EXPECT_TRUE(PumpUntil([&] { return form->Settled(); }, patience + 10000));
  Pump();
  return form;
}

}  // namespace

TEST(PropertiesForm, EachRecordedDeviceReadsAsItsMediumBusAndAlignment) {
  testing_support::TComApartment apartment;
  TRecorded recorded;
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
    const auto form = Shown(recorded.drives, recorded.storage, d.letter, d.type);
    EXPECT_EQ(GetWindowTextLengthW(form->Handle()), 20);
    const std::vector<std::string> rows = RowNames(*form);
    for (const std::string& row : d.rows) EXPECT_TRUE(Has(rows, row)) << d.letter << ": no \"" << row << "\"";
  }
}

TEST(PropertiesForm, OpensByAltEnterTheDriveListsMenuAndTheSystemMenu) {
  TRecorded recorded;
  app::TMainForm form(recorded.drives, recorded.storage);
  form.AnswerPatience = testing_support::kFakeAnswerPatience;
  form.Create();
  form.Show();
  Pump();
  const POINT item = testing_support::ListItemCenter(form.DrivesView.Handle(), 0);
  testing_support::Click(form.DrivesView.Handle(), item.x, item.y);
  SetForegroundWindow(form.Handle());
  SetFocus(form.DrivesView.Handle());
  std::wstring opened;
  toolkit::Application().OnMessage = [&](MSG& message, bool&) {
    auto* properties = dynamic_cast<TPropertiesForm*>(toolkit::TForm::OwningForm(message.hwnd));
    if (!properties || !opened.empty()) return;
    opened.resize(64);
    opened.resize(static_cast<size_t>(GetWindowTextW(properties->Handle(), opened.data(), 64)));
    PostMessageW(properties->Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  };
  HMENU system = GetSystemMenu(form.Handle(), FALSE);
  UINT systemCommand = 0;
  for (int i = 0; i < GetMenuItemCount(system); ++i) {
    wchar_t text[64] = L"";
    GetMenuStringW(system, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    if (std::wstring(text).starts_with(L"Eigenschaften...")) systemCommand = GetMenuItemID(system, i);
  }
  const HWND list = form.DrivesView.Handle();
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
    opened.clear();
    // The drive list's menu is answered from a thread of its own: the window's thread runs the menu.
    std::thread chooser([&] { menus += w.byMenu && ChooseFromMenu(); });
    w.open();
    EXPECT_TRUE(PumpUntil([&] { return !opened.empty(); }, 7000)) << w.way;
    chooser.join();
    EXPECT_EQ(opened, L"Eigenschaften von C:") << w.way;
  }
  toolkit::Application().OnMessage = nullptr;
  EXPECT_EQ(menus, 3) << "the drive list's menu opened for its three ways";
  EXPECT_NE(systemCommand, 0u);
}

TEST(PropertiesForm, CopiesItsTableAsTextAndAsATypedTable) {
  TRecorded recorded;
  const auto form = Shown(recorded.drives, recorded.storage, 'C', DRIVE_FIXED);
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
  auto form = std::make_unique<TPropertiesForm>(nullptr, drive::TListedDrive{'C', DRIVE_FIXED},
                                                recorded.drives, recorded.storage);
  form->Patience = 300;
  form->Create();
  form->Show();
  ASSERT_TRUE(recorded.drives.WaitUntilBlocked(10000));
  EXPECT_EQ(RowNames(*form).back(), "Status: wird abgefragt ...");
  EXPECT_FALSE(form->Settled());
  const testing_support::TWinEventListener listener(EVENT_OBJECT_REORDER, EVENT_OBJECT_REORDER);
  // The window's own thread runs its messages while the drive hangs: the patience ends it.
  ASSERT_TRUE(PumpUntil([&] { return form->Settled(); }));
  EXPECT_EQ(RowNames(*form), (std::vector<std::string>{"Laufwerksbuchstabe: C", "Laufwerkstyp: Festplatte",
                                                       "Status: hat nicht rechtzeitig geantwortet"}));
  EXPECT_TRUE(listener.HeardFrom(form->InfoGrid.Handle(), EVENT_OBJECT_REORDER));
  // A late answer changes nothing.
  recorded.drives.Release();
  Sleep(100);
  Pump();
  EXPECT_EQ(RowNames(*form).size(), 3u);
  form.reset();
}

TEST(PropertiesForm, AScreenReaderHearsADialogWithItsTable) {
  testing_support::TComApartment apartment;
  TRecorded recorded;
  const testing_support::TWinEventListener listener(EVENT_SYSTEM_DIALOGSTART, EVENT_SYSTEM_DIALOGSTART);
  const auto form = Shown(recorded.drives, recorded.storage, 'D', DRIVE_FIXED);
  EXPECT_TRUE(listener.Heard(EVENT_SYSTEM_DIALOGSTART, CHILDID_SELF));
  const TAccessible dialog = TAccessible::OfWindow(form->Handle());
  EXPECT_EQ(dialog.Role(), ROLE_SYSTEM_DIALOG);
  EXPECT_EQ(dialog.Name(), "Eigenschaften von D:");
  const TAccessible table = TAccessible::OfWindow(form->InfoGrid.Handle());
  EXPECT_EQ(table.Role(), ROLE_SYSTEM_TABLE);
  EXPECT_EQ(table.Name(), "Laufwerkseigenschaften");
  EXPECT_TRUE(table.State() & STATE_SYSTEM_FOCUSED) << "the keyboard starts in the table";
  const std::vector<std::string> walked = testing_support::WalkNames(dialog);
  EXPECT_NE(std::find(walked.begin(), walked.end(), "Modell: Samsung SSD 860 EVO 500GB"), walked.end());
  EXPECT_NE(std::find(walked.begin(), walked.end(), "OK"), walked.end());
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
        return std::all_of(letters.begin(), letters.end(), [&](char letter) {
          for (int i = 0; i < form.DrivesView.Count(); ++i)
            if (form.DrivesView.Caption(i)[0] == static_cast<wchar_t>(letter)) return true;
          return false;
        });
      },
      30000));
  std::vector<std::string> rows;
  toolkit::Application().OnMessage = [&](MSG& message, bool&) {
    auto* properties = dynamic_cast<TPropertiesForm*>(toolkit::TForm::OwningForm(message.hwnd));
    if (!properties || !properties->Settled() || !rows.empty()) return;
    rows = RowNames(*properties);
    PostMessageW(properties->Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  };
  for (const char letter : letters) {
    for (int i = 0; i < form.DrivesView.Count(); ++i)
      if (form.DrivesView.Caption(i)[0] == static_cast<wchar_t>(letter)) form.DrivesView.Select(i);
    rows.clear();
    testing_support::PostKeyWith(form.DrivesView.Handle(), VK_RETURN, {VK_MENU});
    ASSERT_TRUE(PumpUntil([&] { return !rows.empty(); }, 30000)) << letter;
    if (letter == 'C') {
      EXPECT_TRUE(std::any_of(rows.begin(), rows.end(),
                              [](const std::string& row) {
                                return row.starts_with("Volume-GUID-Pfad: \\\\?\\Volume{") &&
                                       row.ends_with("}\\");
                              }))
          << rows.size() << " rows";
    } else {
      EXPECT_TRUE(Has(rows, "Netzwerkfreigabe: \\\\server\\share"));
    }
  }
  toolkit::Application().OnMessage = nullptr;
  if (letters.size() == 1) GTEST_SKIP() << "the test command maps a share";
}

TEST(PropertiesForm, TakesTheDarkAndTheHighContrastScheme) {
  TRecorded recorded;
  const auto form = Shown(recorded.drives, recorded.storage, 'C', DRIVE_FIXED);
  const auto share = [&](COLORREF color) {
    const std::vector<COLORREF> pixels = testing_support::Picture(form->InfoGrid, 200, 200);
    return std::count(pixels.begin(), pixels.end(), color) * 100 / static_cast<long>(pixels.size());
  };
  const auto windowColor = [](toolkit::TScheme scheme) {
    return toolkit::PaletteOf(scheme)[static_cast<size_t>(toolkit::TRole::Window)];
  };
  EXPECT_GT(share(windowColor(toolkit::TScheme::Light)), 50);
  {
    const toolkit::TForcedAppMode dark(true);
    EXPECT_GT(share(windowColor(toolkit::TScheme::Dark)), 50);
  }
  const toolkit::TForcedHighContrast highContrast(true);
  const toolkit::TForcedAppMode dark(true);
  EXPECT_GT(share(windowColor(toolkit::TScheme::HighContrast)), 50) << "high contrast wins over dark";
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
  TRecorded recorded;
  const auto form = Shown(recorded.drives, recorded.storage, 'C', DRIVE_FIXED);
  std::printf("DPI %d", form->Dpi());
  for (const long figure : Figures(*form)) std::printf(" %ld", figure);
  std::printf("\n");
  std::fflush(stdout);
}

TEST(PropertiesFormDpi, EveryFigureScalesAtSystemDpi144) {
  TRecorded recorded;
  const std::vector<long> at96 = Figures(*Shown(recorded.drives, recorded.storage, 'C', DRIVE_FIXED));
  const std::string report = testing_support::RunAtSystemDpi(144, "PropertiesFormDpiReport.*");
  std::istringstream in(report.substr(std::min(report.find("DPI "), report.size())));
  std::string word;
  int dpi = 0;
  in >> word >> dpi;
  ASSERT_EQ(dpi, 144) << report;
  for (size_t i = 0; i < at96.size(); ++i) {
    long figure = 0;
    ASSERT_TRUE(in >> figure) << report;
    EXPECT_LE(std::abs(figure - toolkit::Scale(static_cast<int>(at96[i]), 144)), 1)
        << "figure " << i << ": " << figure << " for " << at96[i] << " at 96 dpi";
  }
}
