// The help window: opened by F1 and the help button through the application's help command, one at a
// time, closed by Esc and with the main window; its text comes from the program's RTF resource.
#include <gtest/gtest.h>

#include <windows.h>

#include <richedit.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <utility>

#include "app/HelpWindow.h"
#include "app/MainForm.h"
#include "drive/DriveInfo.h"
#include "tests/support/FakeDriveQueries.h"
#include "tests/support/WindowTesting.h"
#include "toolkit/Application.h"

using testing_support::Pump;

namespace {

const wchar_t kHelpTitle[] = L"Quelix Disk-Info – Hilfe";

// The main window with the program's help viewer installed.
class HelpWindowTest : public ::testing::Test {
 protected:
  HelpWindowTest() : form(fake) {
    fake.Drives['C'] = testing_support::FixedDrive(1000, 500);
    toolkit::Application().HelpViewer = &viewer;
    form.Create();
    form.Show();
    Pump();
  }
  ~HelpWindowTest() override {
    toolkit::Application().HelpViewer = nullptr;
    SetShift(false);
  }
  static void SetShift(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
  }
  void F1(HWND focus) {
    SetFocus(focus);
    testing_support::PostKey(focus, VK_F1);
  }
  // Top-level windows of this thread with the help window's title.
  static int HelpWindows() {
    int count = 0;
    for (HWND window = FindWindowExW(nullptr, nullptr, nullptr, kHelpTitle); window;
         window = FindWindowExW(nullptr, window, nullptr, kHelpTitle))
      ++count;
    return count;
  }
  HWND Editor() const { return viewer.Window() ? viewer.Window()->Editor().Handle() : nullptr; }
  std::string Text() const {
    const int length = GetWindowTextLengthA(Editor());
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(Editor(), text.data(), length + 1)));
    return text;
  }
  void CloseByEsc() {
    testing_support::PostKey(Editor(), VK_ESCAPE);
    EXPECT_EQ(viewer.Window(), nullptr);
    EXPECT_EQ(HelpWindows(), 0);
  }

  testing_support::TFakeDriveQueries fake;
  app::TRichHelpViewer viewer;
  app::TMainForm form;
};

}  // namespace

TEST_F(HelpWindowTest, EveryWayOfAskingOpensOneWindow) {
  F1(form.DrivesView.Handle());
  ASSERT_NE(viewer.Window(), nullptr) << "F1 in the drive list";
  EXPECT_EQ(HelpWindows(), 1);
  wchar_t title[64] = L"";
  GetWindowTextW(viewer.Window()->Handle(), title, 64);
  EXPECT_STREQ(title, kHelpTitle);
  CloseByEsc();

  F1(form.InfoGrid.Handle());
  ASSERT_NE(viewer.Window(), nullptr) << "F1 in the table";
  const HWND first = viewer.Window()->Handle();
  // A second request brings the same window back.
  F1(form.InfoGrid.Handle());
  testing_support::Click(form.HelpBtn.Handle(), 12, 12);
  EXPECT_EQ(viewer.Window()->Handle(), first);
  EXPECT_EQ(HelpWindows(), 1);
  CloseByEsc();

  SetShift(true);
  F1(form.DrivesView.Handle());
  SetShift(false);
  EXPECT_NE(viewer.Window(), nullptr) << "Shift+F1";
  CloseByEsc();

  testing_support::Click(form.HelpBtn.Handle(), 12, 12);
  EXPECT_NE(viewer.Window(), nullptr) << "the help button";
  EXPECT_EQ(HelpWindows(), 1);
}

TEST(HelpPlacement, BesideTheOtherWindowOnTheSideWithMoreRoom) {
  const RECT screen{0, 0, 1280, 984}, second{1400, 0, 2680, 984};
  const SIZE help{600, 560};
  const struct {
    RECT other, work, expected;
    const char* what;
  } cases[] = {
      {{100, 200, 607, 634}, screen, {607, 200, 1207, 760}, "room on the right"},
      {{700, 200, 1207, 634}, screen, {100, 200, 700, 760}, "room on the left"},
      {{386, 295, 893, 729}, screen, {680, 295, 1280, 855}, "room on neither side: more on the right"},
      {{400, 295, 907, 729}, screen, {0, 295, 600, 855}, "room on neither side: more on the left"},
      {{386, 295, 894, 729}, screen, {680, 295, 1280, 855}, "as much room on either side: the right"},
      {{100, 600, 607, 1034}, screen, {607, 424, 1207, 984}, "low on the screen: moved up"},
      {{-50, -20, 457, 414}, screen, {457, 0, 1057, 560}, "above the top: moved down"},
      {{100, 200, 607, 634}, second, {1400, 200, 2000, 760}, "on a work area beside the window's"},
  };
  for (const auto& c : cases) {
    const RECT placed = app::PlaceBeside(c.other, help, c.work);
    EXPECT_TRUE(EqualRect(&placed, &c.expected))
        << c.what << ": " << placed.left << "," << placed.top << "," << placed.right << "," << placed.bottom;
  }
  // Larger than the screen, at large scalings on small screens: made smaller, inside the work area.
  const struct {
    RECT other, work;
    SIZE help;
    RECT expected;
    const char* what;
  } large[] = {
      {{130, 60, 895, 709}, {0, 0, 1024, 768}, {904, 838}, {0, 0, 904, 768}, "144 dpi on 1024 x 768"},
      {{453, 94, 1467, 946},
       {0, 0, 1920, 1040},
       {1200, 1104},
       {720, 0, 1920, 1040},
       "192 dpi on 1920 x 1080"},
  };
  for (const auto& c : large) {
    const RECT placed = app::PlaceBeside(c.other, c.help, c.work);
    EXPECT_TRUE(EqualRect(&placed, &c.expected))
        << c.what << ": " << placed.left << "," << placed.top << "," << placed.right << "," << placed.bottom;
  }
}

TEST_F(HelpWindowTest, OpensBesideTheMainWindowAtItsClientSize) {
  // Thicker frames leave the client area as designed.
  const testing_support::TThickFrames frames;
  SetWindowPos(form.Handle(), nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  F1(form.DrivesView.Handle());
  ASSERT_NE(viewer.Window(), nullptr);
  RECT main, help, client;
  GetWindowRect(form.Handle(), &main);
  GetWindowRect(viewer.Window()->Handle(), &help);
  GetClientRect(viewer.Window()->Handle(), &client);
  EXPECT_EQ(help.left, main.right);
  EXPECT_EQ(help.top, main.top);
  EXPECT_EQ(client.right, 592);
  EXPECT_EQ(client.bottom, 533);
}

TEST_F(HelpWindowTest, ClosingTheMainWindowClosesTheHelp) {
  F1(form.DrivesView.Handle());
  ASSERT_NE(viewer.Window(), nullptr);
  const HWND help = viewer.Window()->Handle();
  form.Close();
  Pump();
  EXPECT_FALSE(IsWindow(help));
  EXPECT_EQ(viewer.Window(), nullptr);
}

TEST_F(HelpWindowTest, ReadOnlyGermanTextThatNamesEveryRow) {
  F1(form.DrivesView.Handle());
  ASSERT_NE(Editor(), nullptr);
  EXPECT_TRUE(GetWindowLongPtrA(Editor(), GWL_STYLE) & ES_READONLY);
  const std::string text = Text();
  EXPECT_EQ(text.rfind("Quelix Disk-Info \x96 Hilfe", 0), 0u) << text.substr(0, 40);
  EXPECT_NE(text.find("L\xE4nge Dateiname"), std::string::npos) << "an umlaut as its code page 1252 byte";
  const auto report = drive::TDriveInfo('C', fake).CreateReport();
  ASSERT_EQ(report->Count(), 16);
  for (int i = 0; i < report->Count(); ++i)
    EXPECT_NE(text.find(report->NameAt(i)), std::string::npos) << report->NameAt(i);
  EXPECT_NE(text.find("sandrivo-report"), std::string::npos);

  // The first heading is bold, the text after it is not.
  auto bold = [&](LONG from, LONG to) {
    SendMessageA(Editor(), EM_SETSEL, static_cast<WPARAM>(from), to);
    CHARFORMATA format{};
    format.cbSize = sizeof(format);
    SendMessageA(Editor(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_TRUE(format.dwMask & CFM_BOLD);
    return (format.dwEffects & CFE_BOLD) != 0;
  };
  EXPECT_TRUE(bold(0, 6));
  const LONG body = static_cast<LONG>(text.find("zeigt"));
  EXPECT_FALSE(bold(body, body + 5));

  // Typing changes nothing.
  SendMessageA(Editor(), EM_SETSEL, 0, 0);
  PostMessageA(Editor(), WM_CHAR, 'x', 1);
  Pump();
  EXPECT_EQ(Text(), text);
}

TEST_F(HelpWindowTest, TheTextAgreesWithTheProgram) {
  F1(form.DrivesView.Handle());
  ASSERT_NE(Editor(), nullptr);
  const std::string text = Text();
  // The about dialog's configuration rule makes folders: the text says so, and which.
  EXPECT_EQ(text.find("schreibt nichts"), std::string::npos);
  EXPECT_NE(text.find("zwei leere Ordner"), std::string::npos);
  EXPECT_NE(text.find("%APPDATA%"), std::string::npos);
  EXPECT_NE(text.find("--json"), std::string::npos);
  EXPECT_NE(text.find("Strg+S"), std::string::npos) << "the save key";
  // The buttons by their pictures, left to right, each with its keys.
  const char* const buttons[] = {"Klemmbrett mit einem Pfeil (Strg+C oder Strg+Einfg)",
                                 "Klemmbrett mit drei Pfeilen (Strg+Umschalt+C)", "Fragezeichen (F1)",
                                 "kleines i (Strg+I)",
                                 "offene T\xFCr mit Pfeil nach drau\xDF"
                                 "en (Alt+F4)"};
  size_t at = 0;
  for (const char* button : buttons) {
    const size_t found = text.find(button, at);
    EXPECT_NE(found, std::string::npos) << button;
    if (found != std::string::npos) at = found;
  }
}

TEST_F(HelpWindowTest, AParagraphAfterAListHasSpaceBeforeIt) {
  F1(form.DrivesView.Handle());
  ASSERT_NE(Editor(), nullptr);
  const std::string text = Text();
  // Paragraphs end in CR LF in the window text, in CR alone in the control's own character
  // positions; list items start with a bullet and a tab.
  auto isItem = [&](size_t start) { return text.compare(start, 2, "\x95\t") == 0; };
  int checked = 0;
  size_t previous = 0;
  LONG breaks = 0;
  for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", end + 2)) {
    const size_t start = end + 2;
    const LONG position = static_cast<LONG>(start) - ++breaks;
    if (start < text.size() && isItem(previous) && !isItem(start)) {
      SendMessageA(Editor(), EM_SETSEL, static_cast<WPARAM>(position), position);
      PARAFORMAT2 format{};
      format.cbSize = sizeof(format);
      SendMessageA(Editor(), EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
      EXPECT_GT(format.dySpaceBefore, 0) << text.substr(start, 40);
      ++checked;
    }
    previous = start;
  }
  EXPECT_EQ(checked, 5);
}

TEST_F(HelpWindowTest, WithoutMsfteditRiched20ShowsTheSameText) {
  F1(form.DrivesView.Handle());
  ASSERT_NE(Editor(), nullptr);
  const std::string text = Text();
  char className[64] = "";
  GetClassNameA(Editor(), className, sizeof(className));
  EXPECT_STRCASEEQ(className, "RICHEDIT50W");
  CloseByEsc();

  viewer.PreferMsftedit = false;
  F1(form.DrivesView.Handle());
  ASSERT_NE(Editor(), nullptr);
  GetClassNameA(Editor(), className, sizeof(className));
  EXPECT_STRCASEEQ(className, "RichEdit20W");
  EXPECT_EQ(Text(), text);
}

// Not a test of its own: the child process of the test below, at 200 %, where the help window is
// taller than the tests' screen (1280 x 1024). Prints the windows' and the work area's rectangles.
TEST_F(HelpWindowTest, DISABLED_PrintsWhereTheWindowsOpen) {
  F1(form.DrivesView.Handle());
  ASSERT_NE(viewer.Window(), nullptr);
  RECT main, help, work;
  GetWindowRect(form.Handle(), &main);
  GetWindowRect(viewer.Window()->Handle(), &help);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  for (const auto& [name, r] : {std::pair{"main", main}, std::pair{"help", help}, std::pair{"work", work}})
    std::printf("%s %ld %ld %ld %ld\n", name, r.left, r.top, r.right, r.bottom);
  std::fflush(stdout);
}

TEST(HelpPlacement, AtTwiceTheScaleEveryWindowStaysInsideTheWorkArea) {
  const std::string report =
      testing_support::RunAtSystemDpi(192, "HelpWindowTest.DISABLED_PrintsWhereTheWindowsOpen");
  std::map<std::string, RECT> rects;
  std::istringstream in(report);
  for (std::string name; in >> name;) {
    RECT r{};
    if ((name == "main" || name == "help" || name == "work") && in >> r.left >> r.top >> r.right >> r.bottom)
      rects[name] = r;
  }
  ASSERT_EQ(rects.size(), 3u) << report;
  const RECT& work = rects["work"];
  for (const char* name : {"main", "help"}) {
    const RECT& r = rects[name];
    EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom)
        << name << " " << r.left << "," << r.top << "," << r.right << "," << r.bottom << " in " << work.right
        << "x" << work.bottom << "\n"
        << report;
  }
  EXPECT_GT(rects["help"].bottom - rects["help"].top, 900) << "as large as the screen allows";
}
