// The about dialog: its pages, keys, timer figures, links, time stamp and resources, driven in the
// test process with the application's own message processing.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "about/AboutFigures.h"
#include "about/InfoAdd.h"
#include "about/Stamps.h"
#include "about/aboutdlg.h"
#include "resources/resource_ids.h"
#include "runtime/Handles.h"
#include "runtime/Text.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/HostForm.h"
#include "tests/support/TempFiles.h"
#include "tests/support/WindowTesting.h"
#include "toolkit/Application.h"
#include "toolkit/Dpi.h"
#include "toolkit/Handles.h"
#include "version.h"

using about::TAboutBox;
using about::TSystemFigures;
using testing_support::Pump;
using testing_support::PumpUntil;
using testing_support::TApplicationRecorder;

namespace {

// Records the texts handed to the shell instead of opening them.
class TShellRecorder {
 public:
  TShellRecorder() {
    toolkit::Application().OnShellOpen = [this](HWND, const std::wstring& file) {
      Opened.push_back(runtime::Cp1252FromWide(file));
      WideOpened.push_back(file);
      return true;
    };
  }
  ~TShellRecorder() { toolkit::Application().OnShellOpen = nullptr; }
  TShellRecorder(const TShellRecorder&) = delete;
  TShellRecorder& operator=(const TShellRecorder&) = delete;
  std::vector<std::string> Opened;
  std::vector<std::wstring> WideOpened;
};

// The dialog as the info button opens it, shown modeless so that the test can drive it.
class AboutBoxTest : public ::testing::Test {
 protected:
  explicit AboutBoxTest(bool withPages = true) : box(nullptr) {
    box.Create();
    if (withPages) box.AddInfoPages(about::InfoAdds);
    box.MailLabel.SetCaption(L"support@quelix.de");
    box.FigureSource = [this] {
      ++reads;
      return figures;
    };
    box.Show();
    Pump();
  }
  void Key(WORD key) { testing_support::PostKey(box.OKButton.Handle(), key); }
  void Char(char key) {
    PostMessageA(box.OKButton.Handle(), WM_CHAR, static_cast<unsigned char>(key), 1);
    Pump();
  }
  void ShowPage(int index) {
    box.Scroller.SetPosition(index);
    Pump();
  }
  void Click(toolkit::TLabel& label) { testing_support::Click(label.Handle(), 2, 2); }

  TShellRecorder shell;
  TSystemFigures figures{1536ull << 20, 42, 2793.4567};
  int reads = 0;
  TAboutBox box;
};

class AboutBoxWithoutPagesTest : public AboutBoxTest {
 protected:
  AboutBoxWithoutPagesTest() : AboutBoxTest(false) {}
};

// A figure with the locale's decimal separator between its whole part and its fraction.
std::wstring Figure(const wchar_t* whole, const wchar_t* fraction) {
  wchar_t separator[8] = L"";
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
  std::wstring text(whole);
  text.append(separator).append(fraction);
  return text;
}

}  // namespace

TEST(InfoAdds, FifteenParagraphsOfTheGivenLengthsAndBreaks) {
  const struct {
    size_t length;
    int breaks;
  } paragraphs[] = {{130, 2}, {132, 1}, {148, 0}, {163, 0}, {102, 0}, {133, 0}, {115, 1}, {26, 0},
                    {125, 0}, {122, 1}, {103, 1}, {97, 0},  {98, 0},  {83, 0},  {109, 2}};
  const about::TInfoAdds adds;
  ASSERT_EQ(adds.Count(), 15);
  for (int i = 0; i < 15; ++i) {
    const std::wstring& text = adds[i];
    EXPECT_EQ(text.size(), paragraphs[i].length) << "paragraph " << i + 1;
    EXPECT_EQ(std::count(text.begin(), text.end(), L'\r'), paragraphs[i].breaks) << "paragraph " << i + 1;
    EXPECT_EQ(text.find(L'\n'), std::wstring::npos) << "paragraph " << i + 1;
    EXPECT_EQ(text.find(about::kHomePageHost) != std::wstring::npos, i == 13) << "paragraph " << i + 1;
  }
  EXPECT_NE(adds[0].find(L"\r\r"), std::wstring::npos) << "an empty line after the first";
  EXPECT_EQ(adds[7].back(), L'?');
  EXPECT_EQ(adds[7].find(L'\r'), std::wstring::npos);
}

TEST(AboutFigures, FreeMemoryInMegabytesWithAPointPastFourGigabytes) {
  EXPECT_EQ(about::FreeMemoryText(2048ull << 20), L"2048.00 Mb");
  EXPECT_EQ(about::FreeMemoryText(0), L"0.00 Mb");
  EXPECT_EQ(about::FreeMemoryText(3ull << 19), L"1.50 Mb");
  // Beyond the 32-bit counts that saturate at 4 GiB.
  EXPECT_EQ(about::FreeMemoryText(18ull << 30), L"18432.00 Mb");
}

TEST(AboutFigures, ClockRoundsTheFiveDigitsAsTheirDecimalText) {
  // Halfway cases decide on the double that the five-digit text stands for (1.005 is just below):
  // every such value from 0.001 to 99999, against the runtime's reading of the text.
  int differing = 0;
  for (int exponent = -3; exponent <= 4; ++exponent) {
    for (long digits = 10005; digits <= 99995; digits += 10) {
      char text[32];
      std::snprintf(text, sizeof(text), "%ld.%04lde%d", digits / 10000, digits % 10000, exponent);
      char expected[32];
      std::snprintf(expected, sizeof(expected), "%.2f", std::strtod(text, nullptr));
      differing += about::ClockText(std::strtod(text, nullptr), L".") != runtime::WideFromCp1252(expected);
    }
  }
  EXPECT_EQ(differing, 0);
}

TEST(AboutFigures, ClockWithFiveSignificantDigits) {
  const struct {
    double mhz;
    const wchar_t* text;
  } cases[] = {{2793.4567, L"2793,50"},
               {0, L"0,00"},
               {-1, L""},
               {-0.001, L""},
               {12345.678, L"12346,00"},
               {0.123456, L"0,12"},
               {99.999, L"100,00"},
               {123456.7, L"1,2346E+05"},
               {99999.6, L"1,0000E+05"},
               {3000000, L"3,0000E+06"},
               {1.005, L"1,00"}};
  for (const auto& c : cases) EXPECT_EQ(about::ClockText(c.mhz, L","), c.text) << c.mhz;
  EXPECT_EQ(about::ClockText(2793.4567, L"."), L"2793.50");
  EXPECT_FALSE(about::ShowsClockCaption(0));
  EXPECT_FALSE(about::ShowsClockCaption(-5));
  EXPECT_TRUE(about::ShowsClockCaption(0.01));
}

TEST(AboutFigures, LinksAndPathParts) {
  EXPECT_EQ(about::LinkAddress(L"www.quelix.de"), L"http://www.quelix.de");
  EXPECT_EQ(about::LinkAddress(L"http://www.quelix.de"), L"http://www.quelix.de");
  EXPECT_EQ(about::LinkAddress(L"HTTP://WWW.QUELIX.DE"), L"HTTP://WWW.QUELIX.DE");
  EXPECT_EQ(about::LinkAddress(L"https://x.de"), L"http://https://x.de") << "only http:// counts";
  EXPECT_EQ(about::LinkAddress(L""), L"http://");
  EXPECT_EQ(about::MailLink(L"a@b.de", L"Quelix Disk-Info", L"1.1.1.0"),
            L"mailto:a@b.de?subject=Quelix Disk-Info: Version 1.1.1.0");
  const struct {
    const char *path, *folder, *name;
  } paths[] = {{"C:\\dir\\file.ini", "C:\\dir", "file.ini"},
               {"C:\\file.ini", "C:\\", "file.ini"},
               {"C:file.ini", "C:", "file.ini"},
               {"\\\\server\\share\\f.ini", "\\\\server\\share", "f.ini"},
               {"d\\f.ini", "d", "f.ini"},
               {"file.ini", "", "file.ini"},
               {"C:\\dir\\", "C:\\dir", ""}};
  for (const auto& p : paths) {
    EXPECT_EQ(about::FolderPart(runtime::WideFromCp1252(p.path)), runtime::WideFromCp1252(p.folder))
        << p.path;
    EXPECT_EQ(runtime::FileNamePart(runtime::WideFromCp1252(p.path)), runtime::WideFromCp1252(p.name))
        << p.path;
  }
}

TEST(TimeStamp, PackedNumberAndTextOfAFilesTime) {
  testing_support::TTempFolder temp;
  const std::wstring file = temp / "stamp.exe";
  testing_support::WriteFile(file, "x");
  // 31.12.1999 12:59:58 local time.
  SYSTEMTIME moment{1999, 12, 5, 31, 12, 59, 58, 0};
  FILETIME local, utc;
  ASSERT_TRUE(SystemTimeToFileTime(&moment, &local));
  ASSERT_TRUE(LocalFileTimeToFileTime(&local, &utc));
  {
    const runtime::TKernelHandle handle(runtime::NullIfInvalid(
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
    ASSERT_TRUE(SetFileTime(handle.Get(), nullptr, nullptr, &utc));
  }
  const std::optional<DWORD> stamp = about::FileDosDateTime(file);
  ASSERT_TRUE(stamp.has_value());
  EXPECT_EQ(*stamp, 664758141u);
  EXPECT_EQ(about::TimeStampText(*stamp, about::dtNumber), L"664758141");
  wchar_t date[64] = L"", time[64] = L"";
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &moment, nullptr, date, 64);
  GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &moment, nullptr, time, 64);
  EXPECT_EQ(about::TimeStampText(*stamp, about::dtString), std::wstring(date) + L" " + time);
  // A packed moment past 2043 is negative as a signed number.
  EXPECT_EQ(about::TimeStampText(0x80210000u, about::dtNumber), L"-2145320960");
  EXPECT_FALSE(about::FileDosDateTime(temp / "missing.exe").has_value());
}

TEST_F(AboutBoxTest, SeventeenPagesPagedByTheScrollerAndTheKeys) {
  ASSERT_EQ(box.Notebook.PageCount(), 17);
  EXPECT_EQ(box.Notebook.Page(0).Name(), L"Icon");
  EXPECT_EQ(box.Notebook.Page(1).Name(), L"System");
  for (int i = 2; i < 17; ++i) EXPECT_EQ(box.Notebook.Page(i).Name(), std::to_wstring(i));
  EXPECT_EQ(box.Scroller.Max(), 16);
  EXPECT_EQ(box.Notebook.ActivePage(), L"Icon") << "shown with the icon page";
  EXPECT_TRUE(IsWindowVisible(box.ProgramIcon.Handle()));

  Key(VK_PRIOR);
  EXPECT_EQ(box.Notebook.PageIndex(), 0) << "PageUp on the first page";
  Key(VK_NEXT);
  EXPECT_EQ(box.Notebook.ActivePage(), L"System");
  EXPECT_TRUE(IsWindowVisible(box.FreeMemLabel.Handle()));
  EXPECT_FALSE(IsWindowVisible(box.ProgramIcon.Handle()));
  ShowPage(16);
  EXPECT_EQ(box.Notebook.ActivePage(), L"16");
  Key(VK_NEXT);
  EXPECT_EQ(box.Notebook.ActivePage(), L"16") << "PageDown on the last page";
  Key(VK_PRIOR);
  EXPECT_EQ(box.Notebook.ActivePage(), L"15");
  // The scroller's own click pages too.
  const int before = box.Scroller.Position();
  testing_support::Click(box.Scroller.Handle(), 4, 6);
  EXPECT_EQ(box.Scroller.Position(), before - 1);
  EXPECT_EQ(box.Notebook.PageIndex(), before - 1);
}

TEST_F(AboutBoxTest, AMoveToAnotherDpiGivesTheInfoPagesTheNewFontAndSize) {
  // The OK button's glyph: its picture's own size, then scaled.
  const auto glyphHeight = [this] {
    BUTTON_IMAGELIST images{};
    SendMessageW(box.OKButton.Handle(), BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
    int width = 0, height = 0;
    ImageList_GetIconSize(images.himl, &width, &height);
    return height;
  };
  const toolkit::TBitmap glyph(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), RES_GLYPH_OK, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  BITMAP art{};
  ASSERT_TRUE(GetObjectW(glyph.Get(), sizeof(art), &art));
  EXPECT_EQ(glyphHeight(), art.bmHeight);
  RECT outer, client;
  GetWindowRect(box.Handle(), &outer);
  GetClientRect(box.Handle(), &client);
  const RECT suggested{outer.left, outer.top, outer.right + client.right / 2,
                       outer.bottom + client.bottom / 2};
  SendMessageA(box.Handle(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  Pump();
  ASSERT_EQ(box.Dpi(), 144);
  EXPECT_EQ(glyphHeight(), toolkit::Scale(art.bmHeight, 144));
  for (int page = 2; page < box.Notebook.PageCount(); ++page) {
    HWND label = GetWindow(box.Notebook.Page(page).Handle(), GW_CHILD);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)), box.Font()) << "page " << page;
    // The label fills its page, from the page's corner.
    RECT area, text;
    GetClientRect(box.Notebook.Page(page).Handle(), &area);
    GetWindowRect(label, &text);
    MapWindowPoints(nullptr, box.Notebook.Page(page).Handle(), reinterpret_cast<POINT*>(&text), 2);
    EXPECT_TRUE(EqualRect(&area, &text)) << "page " << page;
  }
}

TEST_F(AboutBoxWithoutPagesTest, AnEmptyListLeavesTwoPages) {
  EXPECT_EQ(box.Notebook.PageCount(), 2);
  EXPECT_EQ(box.Scroller.Max(), 1);
  EXPECT_TRUE(IsWindowVisible(box.Scroller.Handle()));
  Key(VK_NEXT);
  Key(VK_NEXT);
  EXPECT_EQ(box.Notebook.ActivePage(), L"System");
}

TEST_F(AboutBoxTest, TheTimerFillsTheSystemPageOnlyWhileItShows) {
  EXPECT_EQ(box.FreeMemLabel.Caption(), L"234");
  EXPECT_EQ(box.MhzLabel.Caption(), L"0");
  box.AboutTimerTimer();
  EXPECT_EQ(reads, 0) << "the icon page shows";
  EXPECT_EQ(box.FreeMemLabel.Caption(), L"234");

  // The real timer ticks too while the test pumps messages; both read the same figures.
  Key(VK_NEXT);
  box.AboutTimerTimer();
  EXPECT_GE(reads, 1);
  EXPECT_EQ(box.FreeMemLabel.Caption(), L"1536.00 Mb") << "the free physical memory alone";
  EXPECT_EQ(box.LoadMemGauge.Progress(), 42);
  EXPECT_EQ(box.MhzLabel.Caption(), Figure(L"2793", L"50"));
  EXPECT_TRUE(box.MhzLbLabel.Visible());

  figures = {0, 100, 0};
  box.AboutTimerTimer();
  EXPECT_EQ(box.FreeMemLabel.Caption(), L"0.00 Mb");
  EXPECT_EQ(box.LoadMemGauge.Progress(), 100);
  EXPECT_EQ(box.MhzLabel.Caption(), Figure(L"0", L"00"));
  EXPECT_FALSE(box.MhzLbLabel.Visible());
  EXPECT_FALSE(IsWindowVisible(box.MhzLbLabel.Handle()));

  figures = {0, 7, -1};
  box.AboutTimerTimer();
  EXPECT_EQ(box.MhzLabel.Caption(), L"");
  EXPECT_FALSE(box.MhzLbLabel.Visible());
  EXPECT_EQ(box.LoadMemGauge.Progress(), 7);

  figures = {0, 7, 654321.0};
  box.AboutTimerTimer();
  EXPECT_EQ(box.MhzLabel.Caption(), Figure(L"6", L"5432E+05"));
  EXPECT_TRUE(box.MhzLbLabel.Visible());

  // Another page: a tick changes nothing.
  Key(VK_NEXT);
  const int readsBefore = reads;
  figures = {1ull << 20, 1, 1};
  box.AboutTimerTimer();
  Pump();
  EXPECT_EQ(reads, readsBefore);
  EXPECT_EQ(box.FreeMemLabel.Caption(), L"0.00 Mb");
  EXPECT_EQ(box.LoadMemGauge.Progress(), 7);
}

TEST_F(AboutBoxTest, TheRealTimerTicksWhileTheSystemPageShows) {
  figures.Mhz = 1000;
  Key(VK_NEXT);
  const DWORD start = GetTickCount();
  while (reads == 0 && GetTickCount() - start < 3000) {
    toolkit::Application().ProcessMessages();
    Sleep(10);
  }
  EXPECT_GE(reads, 1);
  EXPECT_EQ(box.MhzLabel.Caption(), Figure(L"1000", L"00"));
}

// The clock is measured apart from the dialog's thread: a tick returns while a measurement takes its
// time, and the figure shows at a tick after it has come.
TEST(AboutBox, TheClockIsMeasuredApartFromTheWindowAndShownWhenItComes) {
  TAboutBox box(nullptr);
  box.Create();
  auto release = std::make_shared<std::atomic<bool>>(false),
       ended = std::make_shared<std::atomic<bool>>(false);
  box.MeasureClock = [release, ended] {
    for (int wait = 0; wait < 300 && !*release; ++wait) Sleep(10);
    *ended = true;
    return 1000.0;
  };
  box.Show();
  box.Scroller.SetPosition(1);
  Pump();
  box.AboutTimerTimer();
  EXPECT_FALSE(*ended) << "the tick waited for the measurement";
  EXPECT_FALSE(box.MhzLbLabel.Visible()) << "no figure before the first measurement";
  *release = true;
  EXPECT_TRUE(PumpUntil([&] {
    box.AboutTimerTimer();
    return box.MhzLabel.Caption() == Figure(L"1000", L"00");
  }));
  EXPECT_TRUE(box.MhzLbLabel.Visible());
}

// A page turn takes the focus to the page it shows: its first control that Tab reaches, else its
// first; so no control it hides keeps the focus, where a key would act on what is not shown. It
// takes no focus from another window.
TEST_F(AboutBoxTest, APageTurnTakesTheFocusToThePageItShows) {
  SetFocus(box.OKButton.Handle());
  const struct {
    WORD key;
    int page;
    HWND focus;
  } turns[] = {{VK_NEXT, 1, box.IniLabel.Handle()},
               {VK_NEXT, 2, GetWindow(box.Notebook.Page(2).Handle(), GW_CHILD)},
               {VK_PRIOR, 1, box.IniLabel.Handle()},
               {VK_PRIOR, 0, box.ProgramIcon.Handle()}};
  for (const auto& t : turns) {
    testing_support::PostKey(GetFocus(), t.key);
    EXPECT_EQ(box.Scroller.Position(), t.page);
    EXPECT_EQ(GetFocus(), t.focus) << "page " << t.page;
  }
  const testing_support::TShown<testing_support::THostForm> other;
  SetFocus(other.Handle());
  ShowPage(1);
  EXPECT_EQ(GetFocus(), other.Handle());
}

TEST_F(AboutBoxTest, TheIKeyTogglesTheTimeStamp) {
  EXPECT_FALSE(box.TimeStamp.Visible());
  EXPECT_FALSE(IsWindowVisible(box.TimeStamp.Handle()));
  EXPECT_EQ(box.TimeStamp.Display(), about::dtString);
  const std::optional<DWORD> stamp = about::FileDosDateTime(toolkit::Application().ExeName());
  ASSERT_TRUE(stamp.has_value());
  EXPECT_EQ(box.TimeStamp.Caption(), about::TimeStampText(*stamp, about::dtString));
  Char('I');
  EXPECT_TRUE(IsWindowVisible(box.TimeStamp.Handle()));
  Char('i');
  EXPECT_FALSE(IsWindowVisible(box.TimeStamp.Handle()));
  Char('j');
  EXPECT_FALSE(IsWindowVisible(box.TimeStamp.Handle()));
  Char('i');
  EXPECT_TRUE(IsWindowVisible(box.TimeStamp.Handle()));
  box.TimeStamp.SetDisplay(about::dtNumber);
  EXPECT_EQ(box.TimeStamp.Caption(), std::to_wstring(static_cast<std::int32_t>(*stamp)));
}

TEST_F(AboutBoxTest, TitleVersionAndResourceTexts) {
  EXPECT_EQ(box.ProductName.Caption(), L"Quelix Disk-Info");
  EXPECT_EQ(box.Version.Caption(), std::wstring(L"Version " SANDRIVO_WIDE(SANDRIVO_VERSION_TEXT) L" (6) ") +
                                       (sizeof(void*) == 8 ? L"64-Bit" : L"32-Bit"));
  EXPECT_EQ(box.Copyright.Caption(), SANDRIVO_WIDE(SANDRIVO_COPYRIGHT));
  EXPECT_EQ(box.CommentLabel.Caption(), L"Anzeige der Laufwerksinformationen");
  char caption[32] = "";
  GetWindowTextA(box.Handle(), caption, sizeof(caption));
  EXPECT_STREQ(caption, "Infos");
  RECT client;
  GetClientRect(box.Handle(), &client);
  EXPECT_EQ(client.right, 339);
  EXPECT_EQ(client.bottom, 274);
  EXPECT_EQ(GetFocus(), box.OKButton.Handle());
  // The program icon, scaled: its black outline pixels survive the stretch.
  BITMAP picture{};
  ASSERT_TRUE(GetObjectA(box.ProgramIcon.Picture(), sizeof(picture), &picture));
  EXPECT_EQ(picture.bmWidth, 137);
  EXPECT_EQ(picture.bmHeight, 137);
  // The control shows the picture pixel for pixel, not shifted.
  const std::vector<COLORREF> shown = testing_support::Picture(box.ProgramIcon, 137, 137);
  toolkit::TMemoryDC dc(CreateCompatibleDC(nullptr));
  toolkit::TSelectObject selected(dc.Get(), box.ProgramIcon.Picture());
  int differing = 0, black = 0;
  for (int y = 0; y < 137; ++y)
    for (int x = 0; x < 137; ++x) {
      differing += shown[static_cast<size_t>(y * 137 + x)] != GetPixel(dc.Get(), x, y);
      black += GetPixel(dc.Get(), x, y) == RGB(0, 0, 0);
    }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(black, 100) << "the icon's outline";
}

TEST_F(AboutBoxTest, LinksHandTheirTextsToTheShell) {
  EXPECT_EQ(box.LinkLabel.Hint(), L"http://www.quelix.de");
  // Over a link the pointer is a hand, over other texts the arrow.
  const auto cursorOver = [](const toolkit::TLabel& label) {
    SendMessageW(label.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(label.Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  EXPECT_EQ(cursorOver(box.LinkLabel), LoadCursorW(nullptr, IDC_HAND));
  EXPECT_EQ(cursorOver(box.MailLabel), LoadCursorW(nullptr, IDC_HAND));
  EXPECT_EQ(cursorOver(box.ProductName), LoadCursorW(nullptr, IDC_ARROW));
  Click(box.LinkLabel);
  Click(box.MailLabel);
  ASSERT_EQ(shell.Opened.size(), 2u);
  EXPECT_EQ(shell.Opened[0], "http://www.quelix.de");
  EXPECT_EQ(shell.Opened[1],
            "mailto:support@quelix.de?subject=Quelix Disk-Info: Version " SANDRIVO_VERSION_TEXT);

  // A caption that carries its scheme, in any case, is used unchanged.
  box.LinkLabel.SetCaption(L"HTTP://WWW.QUELIX.DE");
  box.FormShow();
  EXPECT_EQ(box.LinkLabel.Hint(), L"HTTP://WWW.QUELIX.DE");

  // Only the paragraph that names the home page reacts on the info pages.
  shell.Opened.clear();
  for (int page = 2; page < 17; ++page) {
    ShowPage(page);
    HWND label = GetWindow(box.Notebook.Page(page).Handle(), GW_CHILD);
    ASSERT_NE(label, nullptr) << page;
    testing_support::Click(label, 10, 10);
  }
  EXPECT_EQ(shell.Opened, std::vector<std::string>{"http://www.quelix.de/"});
}

TEST_F(AboutBoxTest, DoubleClickOnTheConfigurationFileOpensItsFolder) {
  const std::wstring ini = box.IniLabel.Hint();
  ASSERT_FALSE(ini.empty());
  EXPECT_EQ(box.IniLabel.Caption(), runtime::FileNamePart(ini));
  testing_support::PostMouse(box.IniLabel.Handle(), WM_LBUTTONDBLCLK, 2, 2, MK_LBUTTON);
  Pump();
  ASSERT_EQ(shell.Opened.size(), 1u);
  EXPECT_EQ(shell.WideOpened[0], about::FolderPart(ini));
  box.IniLabel.SetHint(L"");
  testing_support::PostMouse(box.IniLabel.Handle(), WM_LBUTTONDBLCLK, 2, 2, MK_LBUTTON);
  Pump();
  EXPECT_EQ(shell.Opened.size(), 1u) << "an empty hint does nothing";
}

TEST(AboutBox, AConfigurationFileBesideTheProgramGivesTheProgramsFolder) {
  about::IniFileNameCache.clear();
  const std::wstring program = toolkit::Application().ExeName();
  const std::wstring ini = program.substr(0, program.size() - 4) + L".ini";
  testing_support::WriteFile(ini, "");
  TShellRecorder shell;
  {
    TAboutBox box(nullptr);
    box.Create();
    box.Show();
    Pump();
    EXPECT_EQ(box.IniLabel.Hint(), ini);
    box.IniLabelDblClick();
  }
  DeleteFileW(ini.c_str());
  about::IniFileNameCache.clear();
  ASSERT_EQ(shell.WideOpened.size(), 1u);
  EXPECT_EQ(shell.WideOpened[0], program.substr(0, program.find_last_of(L'\\')));
}

TEST(AboutBox, AnErrorOfTheConfigurationRuleIsShownAndTheDialogStillOpens) {
  TApplicationRecorder recorder;
  testing_support::TTempFolder temp;
  testing_support::TAppDataGuard appData((temp / "missing").c_str());
  about::IniFileNameCache.clear();
  TShellRecorder shell;
  TAboutBox box(nullptr);
  box.Create();
  box.Show();
  Pump();
  ASSERT_EQ(recorder.Errors.size(), 1u);
  EXPECT_EQ(recorder.Errors[0], L"Ungültiger Dateiname");
  EXPECT_TRUE(IsWindowVisible(box.Handle()));
  EXPECT_EQ(box.IniLabel.Caption(), L"IniLabel");
  EXPECT_EQ(box.IniLabel.Hint(), L"");
  box.IniLabelDblClick();
  EXPECT_TRUE(shell.Opened.empty());
  // The steps before it ran.
  EXPECT_NE(box.Version.Caption(), L"Version");
}

TEST(AboutBox, ModalDialogTakesDroppedFilesAndLeavesNoApplicationWindow) {
  const bool applicationVisible = IsWindowVisible(toolkit::Application().Handle()) != FALSE;
  ASSERT_FALSE(applicationVisible);
  std::vector<std::string> dropped;
  bool applicationShownDuringDialog = false;
  {
    TAboutBox box(nullptr);
    box.Create();
    box.SystemCheck->OnDragDrop = [&](runtime::TStringList& files) {
      for (int i = 0; i < files.Count(); ++i) dropped.push_back(files[i]);
    };
    applicationShownDuringDialog = IsWindowVisible(toolkit::Application().Handle()) != FALSE;
    // A drop onto the open dialog, as the shell posts it.
    const char name[] = "C:\\abgelegt.txt";
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + sizeof(name) + 1);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), name, sizeof(name));
    GlobalUnlock(memory);
    PostMessageA(box.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    PostMessageA(box.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(box.ShowModal(), IDOK);
    // DragFinish released the drop handle.
    EXPECT_EQ(GlobalSize(memory), 0u);
  }
  EXPECT_EQ(dropped, std::vector<std::string>{"C:\\abgelegt.txt"});
  EXPECT_TRUE(applicationShownDuringDialog) << "Hide = False shows the application window";
  EXPECT_FALSE(IsWindowVisible(toolkit::Application().Handle())) << "and it is hidden again afterwards";
  EXPECT_FALSE(static_cast<bool>(toolkit::Application().OnMessage))
      << "the drop hook is gone with the dialog";
}

TEST(AboutBox, AnApplicationWindowShownBeforeTheDialogStaysShown) {
  HWND application = toolkit::Application().Handle();
  ShowWindow(application, SW_SHOWNA);
  {
    TAboutBox box(nullptr);
    box.Create();
  }
  EXPECT_TRUE(IsWindowVisible(application));
  ShowWindow(application, SW_HIDE);
}

// The counts are compared exactly: an object left behind by each opening shows after a few.
TEST(AboutBox, TenOpeningsLeaveNoObjectBehind) {
  TShellRecorder shell;
  auto openAndClose = [] {
    TAboutBox box(nullptr);
    box.Create();
    box.AddInfoPages(about::InfoAdds);
    box.FigureSource = [] { return TSystemFigures{1, 2, 3}; };
    PostMessageA(box.Handle(), WM_KEYDOWN, VK_NEXT, 1);
    PostMessageA(box.Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    box.ShowModal();
    box.AboutTimerTimer();
  };
  openAndClose();
  const int gdi = toolkit::LiveGdiObjects(), windows = toolkit::TWindow::LiveWindows();
  const int threadWindows = testing_support::ThreadWindowCount();
  // Every GDI object of the process, also those made by hand or by the system for us.
  const int processGdi = testing_support::ProcessGdiObjects();
  ASSERT_GT(processGdi, 0);
  for (int i = 0; i < 10; ++i) openAndClose();
  EXPECT_EQ(testing_support::ProcessGdiObjects(), processGdi);
  EXPECT_EQ(toolkit::LiveGdiObjects(), gdi);
  EXPECT_EQ(toolkit::TWindow::LiveWindows(), windows);
  EXPECT_EQ(testing_support::ThreadWindowCount(), threadWindows);
}

namespace {

// Folder names that code page 1252 cannot hold, one with look-alikes in it (Ł, ź).
const wchar_t kProgramFolder[] = L" \u041F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u044B \u6E2C\u8A66";
const wchar_t kUserFolder[] = L"\\\u0141\u00F3d\u017A \u5C71\u7530\\AppData";
// Set for the copy of the tests that runs in such a folder.
const wchar_t kCopyMark[] = L"SANDRIVO_TEST_COPY";

bool IsTheCopy() {
  return GetEnvironmentVariableW(kCopyMark, nullptr, 0) != 0;
}

// Runs the test of this name in a copy of the tests at copy; its exit status.
DWORD RunCopy(const std::wstring& copy, const std::wstring& test) {
  std::wstring commandLine = L"\"" + copy + L"\" --gtest_filter=" + test;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  SetEnvironmentVariableW(kCopyMark, L"1");
  const BOOL started =
      testing_support::StartProcess(CreateProcessW, copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                    0, nullptr, nullptr, &startup, &process);
  SetEnvironmentVariableW(kCopyMark, nullptr);
  if (!started) return GetLastError();
  const runtime::TKernelHandle processHandle(process.hProcess), thread(process.hThread);
  if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) return WAIT_TIMEOUT;
  DWORD status = 1;
  GetExitCodeProcess(process.hProcess, &status);
  return status;
}

}  // namespace

// The tests copied into a folder of another script and run from there, with "APPDATA" in a folder
// of another script too: the about dialog shows the version line, the resource texts and the time
// stamp, and makes its folders where they are named, without an error.
TEST(AboutBox, AProgramAndAUserInFoldersOfAnyScript) {
  if (!IsTheCopy()) {
    testing_support::TTempFolder temp(kProgramFolder);
    if (!testing_support::IsFolder(temp.Path()))
      GTEST_SKIP() << "Wine's Unix locale holds no names beyond ASCII here (run with LC_ALL=C.UTF-8)";
    const std::wstring copy = temp.Path() + L"\\about_tests.exe";
    ASSERT_TRUE(CopyFileW(toolkit::Application().ExeName().c_str(), copy.c_str(), FALSE)) << GetLastError();
    const std::wstring appData = temp.Path() + kUserFolder;
    testing_support::MakeFolders(appData);
    testing_support::TAppDataGuard guard(appData.c_str());
    EXPECT_EQ(RunCopy(copy, L"AboutBox.AProgramAndAUserInFoldersOfAnyScript"), 0u)
        << "the copy's own checks failed (its output is above)";
    EXPECT_TRUE(testing_support::IsFolder(appData + L"\\Quelix\\about_tests"));
    // No look-alike folder: "Łódź" is not "Lodz".
    EXPECT_FALSE(std::filesystem::exists(temp.Path() + L"\\Lodz \u5C71\u7530"));
    return;
  }
  // In the copy.
  EXPECT_NE(toolkit::Application().ExeName().find(kProgramFolder), std::wstring::npos);
  TApplicationRecorder recorder;
  about::IniFileNameCache.clear();
  TAboutBox box(nullptr);
  box.Create();
  box.Show();
  Pump();
  EXPECT_TRUE(recorder.Errors.empty()) << recorder.Errors.front();
  EXPECT_EQ(box.Version.Caption(), std::wstring(L"Version " SANDRIVO_WIDE(SANDRIVO_VERSION_TEXT) L" (6) ") +
                                       (sizeof(void*) == 8 ? L"64-Bit" : L"32-Bit"));
  EXPECT_EQ(box.Copyright.Caption(), SANDRIVO_WIDE(SANDRIVO_COPYRIGHT));
  EXPECT_EQ(box.CommentLabel.Caption(), L"Anzeige der Laufwerksinformationen");
  EXPECT_NE(box.TimeStamp.Caption(), L"");
  const std::wstring ini = about::GetAppDataDir() + L"\\Quelix\\about_tests\\about_tests.ini";
  EXPECT_NE(ini.find(kUserFolder), std::wstring::npos);
  EXPECT_EQ(box.IniLabel.Hint(), ini);
  EXPECT_EQ(box.IniLabel.Caption(), L"about_tests.ini");
  EXPECT_TRUE(testing_support::IsFolder(about::FolderPart(ini)));
  about::IniFileNameCache.clear();
}
