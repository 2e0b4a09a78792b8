// The program's German texts read right whatever the system's code page: window titles, tool tips,
// labels, buttons and table rows, read back as UTF-16 through the system (the window's text, the tool
// tip's text, the screen reader's name). Runs under the German locale and again under Russian and
// Japanese ones, whose code pages (1251, 932) lack the umlauts, the dash and the copyright sign.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "about/InfoAdd.h"
#include "about/aboutdlg.h"
#include "app/HelpWindow.h"
#include "app/MainForm.h"
#include "tests/support/AccessibleReading.h"
#include "tests/support/FakeDriveQueries.h"
#include "tests/support/WindowTesting.h"

using testing_support::Pump;
using testing_support::TAccessible;

namespace {

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The text of a control's tool tip, as the tool-tip control hands it out (made at the first move of
// the pointer over a hinted control).
std::wstring TipText(HWND form, HWND control) {
  testing_support::PostMouse(control, WM_MOUSEMOVE, 2, 2);
  Pump();
  for (HWND tip = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); tip;
       tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) {
    if (GetWindow(tip, GW_OWNER) != form) continue;
    wchar_t text[256] = L"";
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
    if (text[0]) return text;
  }
  return L"<no tip>";
}

// The ANSI code page that the locale of this run gives.
UINT ExpectedCodePage() {
  const char* locale = std::getenv("LC_ALL");
  const std::string name = locale ? locale : "";
  if (name.rfind("ru_RU", 0) == 0) return 1251;
  if (name.rfind("ja_JP", 0) == 0) return 932;
  return 1252;
}

}  // namespace

TEST(GermanTexts, TitlesTipsLabelsButtonsAndRowsReadRightUnderAnyCodePage) {
  ASSERT_EQ(GetACP(), ExpectedCodePage()) << "the run's locale did not reach the system";
  testing_support::TComApartment apartment;
  testing_support::TFakeDriveQueries fake;
  fake.Drives['C'] = testing_support::FixedDrive(1000, 280);
  app::TMainForm form(fake);
  form.AnswerPatience = testing_support::kFakeAnswerPatience;
  form.Create();
  form.Show();
  Pump();
  const POINT c = testing_support::ListItemCenter(form.DrivesView.Handle(), 0);
  testing_support::Click(form.DrivesView.Handle(), c.x, c.y);
  app::TRichHelpViewer help;
  help.ShowHelp(form.Handle(), L"Sandrivo.hlp", HELP_CONTENTS, 0);
  about::TAboutBox box(form.Handle());
  box.Create();
  box.AddInfoPages(about::InfoAdds);
  box.Show();
  Pump();
  const TAccessible table = TAccessible::OfWindow(form.InfoGrid.Handle());
  const TAccessible nameRow = table.Child(7);
  ASSERT_TRUE(nameRow);

  const struct {
    const char* what;
    std::wstring read;
    std::wstring german;
  } texts[] = {
      {"main title", WindowText(form.Handle()), L"Quelix Disk-Info"},
      {"help title", WindowText(help.Window()->Handle()), L"Quelix Disk-Info – Hilfe"},
      {"about title", WindowText(box.Handle()), L"Infos"},
      {"copy tip", TipText(form.Handle(), form.CopyInfoBtn.Handle()),
       L"Kopiere Information des ausgewählten Laufwerks\r\nin die Zwischenablage"},
      {"gauge tip", TipText(form.Handle(), form.SizeGauge.Handle()), L"Belegter Speicherplatz des Laufwerks"},
      {"copy button", TAccessible::OfWindow(form.CopyInfoBtn.Handle()).WideName(),
       L"Information des ausgewählten Laufwerks kopieren"},
      {"table row", nameRow.WideName(1), L"Länge Dateiname"},
      {"gauge label", TAccessible::OfWindow(box.Label6.Handle()).WideName(), L"Gefüllt:"},
      {"copyright", TAccessible::OfWindow(box.Copyright.Handle()).WideName(),
       L"Copyright © 2026 Quelix Software"},
      {"scroller half", TAccessible::OfWindow(box.Scroller.Handle()).WideName(2), L"Nächste Seite"},
      {"info page", TAccessible::OfWindow(GetWindow(box.Notebook.Page(4).Handle(), GW_CHILD)).WideName(),
       L"Also schrieb ich ein kleines Werkzeug, das jedes Laufwerk zeigt und alles nennt, was Windows "
       L"darüber "
       L"weiß: Typ, Name, Dateisystem, Cluster, Füllung."},
  };
  for (const auto& text : texts) EXPECT_EQ(text.read, text.german) << text.what;
}
