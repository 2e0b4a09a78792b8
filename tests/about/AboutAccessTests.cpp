// The about dialog for keyboard and screen-reader users, and in the system's colours: its links and
// the configuration file reached by Tab and opened by Enter and Space, every control read through
// the accessibility interface, the texts drawn in the system's text colour.
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <string>
#include <vector>

#include "about/InfoAdd.h"
#include "about/XVersion.h"
#include "about/aboutdlg.h"
#include "runtime/Text.h"
#include "tests/support/AccessibleReading.h"
#include "tests/support/SystemColors.h"
#include "tests/support/WinEvents.h"
#include "tests/support/WindowTesting.h"
#include "toolkit/Accessible.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "toolkit/HighContrast.h"
#include "toolkit/Theme.h"

using about::TAboutBox;
using testing_support::PostKey;
using testing_support::Pump;
using testing_support::TAccessible;
using testing_support::TSystemColors;

namespace {

class AboutAccessTest : public ::testing::Test {
 protected:
  AboutAccessTest() : title(toolkit::Application().Title()), box(nullptr) {
    toolkit::Application().SetTitle(L"Quelix Disk-Info");
    toolkit::Application().OnShellOpen = [this](HWND, const std::wstring& file) {
      opened.push_back(runtime::Cp1252FromWide(file));
      return true;
    };
    box.Create();
    box.AddInfoPages(about::InfoAdds);
    box.MailLabel.SetCaption(L"support@quelix.de");
    box.FigureSource = [] { return about::TSystemFigures{1536ull << 20, 42, 2793.4567}; };
    box.Show();
    Pump();
  }
  ~AboutAccessTest() override {
    toolkit::Application().OnShellOpen = nullptr;
    toolkit::Application().SetTitle(title);
  }
  // Tab (or Shift+Tab) from the focused control, as the user presses it.
  void Tab() { PostKey(GetFocus(), VK_TAB); }

  std::wstring title;
  std::vector<std::string> opened;
  testing_support::TComApartment apartment;
  TAboutBox box;
};

BOOL CALLBACK CollectOwnWindow(HWND window, LPARAM data) {
  char cls[32] = "";
  GetClassNameA(window, cls, sizeof(cls));
  if (std::string(cls).rfind("Tk", 0) == 0) reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}

// The pixels of a control as it paints itself now.
std::vector<COLORREF> Pixels(const toolkit::TCustomControl& control) {
  RECT client;
  GetClientRect(control.Handle(), &client);
  HDC screen = GetDC(nullptr);
  toolkit::TMemoryDC dc(CreateCompatibleDC(screen));
  toolkit::TBitmap bitmap(CreateCompatibleBitmap(screen, client.right, client.bottom));
  ReleaseDC(nullptr, screen);
  std::vector<COLORREF> pixels;
  {
    toolkit::TSelectObject selected(dc.Get(), bitmap.Get());
    control.PaintTo(dc.Get());
    for (int y = 0; y < client.bottom; ++y)
      for (int x = 0; x < client.right; ++x) pixels.push_back(GetPixel(dc.Get(), x, y));
  }
  return pixels;
}

int Count(const std::vector<COLORREF>& pixels, COLORREF color) {
  int count = 0;
  for (COLORREF pixel : pixels) count += pixel == color;
  return count;
}

}  // namespace

TEST_F(AboutAccessTest, EveryOwnControlReadsWithARoleAndTheShownOnesWithAName) {
  std::vector<HWND> windows;
  EnumChildWindows(box.Handle(), CollectOwnWindow, reinterpret_cast<LPARAM>(&windows));
  ASSERT_GE(windows.size(), 30u);
  for (HWND window : windows) {
    const TAccessible object = TAccessible::OfWindow(window);
    char cls[32] = "";
    GetClassNameA(window, cls, sizeof(cls));
    ASSERT_TRUE(object) << cls;
    EXPECT_NE(object.Role(), ROLE_SYSTEM_CLIENT) << cls;
    EXPECT_GT(object.Role(), 0) << cls;
    if (IsWindowVisible(window)) {
      EXPECT_NE(object.Name(), "") << cls;
    }
  }
}

TEST_F(AboutAccessTest, LabelsLinksPictureGaugeAndPages) {
  const std::string iniName = runtime::Cp1252FromWide(box.IniLabel.Caption()),
                    iniPath = runtime::Cp1252FromWide(box.IniLabel.Hint());
  const struct {
    const toolkit::TControl& control;
    long role;
    const char* name;
    const char* value;
    const char* action;
  } expected[] = {
      {box.ProductName, ROLE_SYSTEM_STATICTEXT, "Quelix Disk-Info", "", ""},
      {box.Label7, ROLE_SYSTEM_STATICTEXT, "URL :", "", ""},
      {box.LinkLabel, ROLE_SYSTEM_LINK, "www.quelix.de", "http://www.quelix.de", "Öffnen"},
      {box.MailLabel, ROLE_SYSTEM_LINK, "support@quelix.de", "support@quelix.de", "Öffnen"},
      {box.IniLabel, ROLE_SYSTEM_LINK, iniName.c_str(), iniPath.c_str(), "Öffnen"},
      {box.ProgramIcon, ROLE_SYSTEM_GRAPHIC, "Quelix Disk-Info", "", ""},
      {box.LoadMemGauge, ROLE_SYSTEM_PROGRESSBAR, "Speicherauslastung", "0 %", ""},
      {box.Notebook, ROLE_SYSTEM_GROUPING, "Seitenansicht", "Programmsymbol", ""},
      {box.Notebook.Page(1), ROLE_SYSTEM_PROPERTYPAGE, "Systeminformationen", "", ""},
      {box.Notebook.Page(2), ROLE_SYSTEM_PROPERTYPAGE, "Hinweis 1", "", ""},
      {box.Panel, ROLE_SYSTEM_PANE, "Programminformation", "", ""},
  };
  for (const auto& e : expected) {
    const TAccessible object = TAccessible::OfWindow(e.control.Handle());
    EXPECT_EQ(object.Role(), e.role) << e.name;
    EXPECT_EQ(object.Name(), e.name);
    EXPECT_EQ(object.Value(), e.value) << e.name;
    EXPECT_EQ(object.DefaultAction(), e.action) << e.name;
  }
  // A link's tool tip is its description: the configuration file's whole path, the page's address.
  EXPECT_EQ(TAccessible::OfWindow(box.IniLabel.Handle()).Description(), iniPath);
  EXPECT_NE(iniPath.find('\\'), std::string::npos) << iniPath;
  EXPECT_EQ(TAccessible::OfWindow(box.LinkLabel.Handle()).Description(), "http://www.quelix.de");
  EXPECT_EQ(TAccessible::OfWindow(box.ProductName.Handle()).Description(), "");
  EXPECT_TRUE(TAccessible::OfWindow(box.LinkLabel.Handle()).State() & STATE_SYSTEM_LINKED);
  EXPECT_TRUE(TAccessible::OfWindow(box.LinkLabel.Handle()).State() & STATE_SYSTEM_FOCUSABLE);
  EXPECT_TRUE(TAccessible::OfWindow(box.Notebook.Page(1).Handle()).State() & STATE_SYSTEM_INVISIBLE);
  // An info page reads as its text, in one line.
  const TAccessible text = TAccessible::OfWindow(GetWindow(box.Notebook.Page(2).Handle(), GW_CHILD));
  EXPECT_EQ(text.Role(), ROLE_SYSTEM_STATICTEXT);
  EXPECT_EQ(text.Name().find('\r'), std::string::npos);
  EXPECT_GT(text.Name().size(), 40u);
  // The default action opens, as a click does.
  EXPECT_EQ(TAccessible::OfWindow(box.LinkLabel.Handle()).DoDefaultAction(), S_OK);
  Pump();
  EXPECT_EQ(opened, std::vector<std::string>{"http://www.quelix.de"});
  EXPECT_EQ(TAccessible::OfWindow(box.ProductName.Handle()).DoDefaultAction(), DISP_E_MEMBERNOTFOUND);
}

TEST_F(AboutAccessTest, TheScrollersHalvesAreButtonsThatTurnThePagesAndATurnIsHeard) {
  const TAccessible scroller = TAccessible::OfWindow(box.Scroller.Handle());
  EXPECT_EQ(scroller.Role(), ROLE_SYSTEM_SPINBUTTON);
  EXPECT_EQ(scroller.Name(), "Seiten");
  EXPECT_EQ(scroller.Value(), "1 von 17");
  ASSERT_EQ(scroller.ChildCount(), 2);
  EXPECT_EQ(scroller.Role(1), ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_EQ(scroller.Name(1), "Vorherige Seite");
  EXPECT_EQ(scroller.Name(2), "Nächste Seite");
  EXPECT_TRUE(scroller.State(1) & STATE_SYSTEM_UNAVAILABLE) << "on the first page";
  EXPECT_FALSE(scroller.State(2) & STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(scroller.DoDefaultAction(1), DISP_E_MEMBERNOTFOUND);
  testing_support::TWinEventListener listener(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE);
  EXPECT_EQ(scroller.DoDefaultAction(2), S_OK);
  Pump();
  EXPECT_EQ(box.Notebook.PageIndex(), 1);
  // The turn is heard on the focus, which goes to the page now shown (its configuration file, which
  // Tab reaches), and as the scroller's and the notebook's new values and the page now selected.
  EXPECT_TRUE(listener.HeardFrom(box.IniLabel.Handle(), EVENT_OBJECT_FOCUS));
  EXPECT_TRUE(TAccessible::OfWindow(box.IniLabel.Handle()).State() & STATE_SYSTEM_FOCUSED);
  EXPECT_TRUE(listener.HeardFrom(box.Scroller.Handle(), EVENT_OBJECT_VALUECHANGE));
  EXPECT_TRUE(listener.HeardFrom(box.Notebook.Handle(), EVENT_OBJECT_VALUECHANGE));
  EXPECT_TRUE(listener.HeardFrom(box.Notebook.Page(1).Handle(), EVENT_OBJECT_SELECTION));
  EXPECT_EQ(scroller.Value(), "2 von 17");
  EXPECT_FALSE(scroller.State(1) & STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(TAccessible::OfWindow(box.Notebook.Handle()).Value(), "Systeminformationen");
}

// The dialog reads as a dialog, with product and version, and says so when it opens; object
// navigation from it reaches every text and both links.
TEST_F(AboutAccessTest, TheDialogReadsAsADialogAndAWalkReachesEveryTextAndLink) {
  const TAccessible dialog = TAccessible::OfWindow(box.Handle());
  EXPECT_EQ(dialog.Role(), ROLE_SYSTEM_DIALOG);
  wchar_t caption[256] = L"";
  GetWindowTextW(box.Handle(), caption, 256);
  EXPECT_EQ(dialog.Name(), runtime::Cp1252FromWide(caption));
  EXPECT_EQ(dialog.Description().rfind("Quelix Disk-Info, ", 0), 0u) << dialog.Description();
  EXPECT_NE(dialog.Description().find(runtime::Cp1252FromWide(about::GetProgramProductVersion())),
            std::string::npos);
  const std::vector<std::string> names = testing_support::WalkNames(dialog);
  for (const toolkit::TLabel* label :
       {&box.ProductName, &box.Version, &box.Copyright, &box.LinkLabel, &box.MailLabel})
    EXPECT_NE(
        std::find(names.begin(), names.end(), runtime::Cp1252FromWide(toolkit::OneLine(label->Caption()))),
        names.end())
        << runtime::Cp1252FromWide(label->Caption());

  // In the order they show: each label before its link, the icon's page before the product name.
  const auto at = [&names](const toolkit::TLabel& label) {
    return std::find(names.begin(), names.end(), runtime::Cp1252FromWide(toolkit::OneLine(label.Caption()))) -
           names.begin();
  };
  EXPECT_LT(at(box.Label7), at(box.LinkLabel));
  EXPECT_LT(at(box.LinkLabel), at(box.Label8));
  EXPECT_LT(at(box.Label8), at(box.MailLabel));
  EXPECT_LT(std::find(names.begin(), names.end(), "Seitenansicht") - names.begin(), at(box.ProductName));

  testing_support::TWinEventListener listener(EVENT_SYSTEM_DIALOGSTART, EVENT_SYSTEM_DIALOGSTART);
  TAboutBox second(nullptr);
  second.Create();
  second.Show();
  Pump();
  EXPECT_TRUE(listener.Heard(EVENT_SYSTEM_DIALOGSTART, CHILDID_SELF));
}

TEST_F(AboutAccessTest, TabReachesTheLinksAndTheFileWhichEnterAndSpaceOpen) {
  ASSERT_EQ(GetFocus(), box.OKButton.Handle());
  Tab();
  ASSERT_EQ(GetFocus(), box.LinkLabel.Handle());
  PostKey(GetFocus(), VK_RETURN);
  EXPECT_EQ(opened, std::vector<std::string>{"http://www.quelix.de"});
  EXPECT_TRUE(IsWindowVisible(box.Handle())) << "Enter on a link leaves the dialog open";
  Tab();
  ASSERT_EQ(GetFocus(), box.MailLabel.Handle());
  PostKey(GetFocus(), VK_SPACE);
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[1].rfind("mailto:support@quelix.de", 0), 0u) << opened[1];
  Tab();
  EXPECT_EQ(GetFocus(), box.OKButton.Handle()) << "the file's name hides with the system page";
  // The configuration file shows on the system page, which a turn gives the focus.
  PostKey(GetFocus(), VK_NEXT);
  ASSERT_EQ(GetFocus(), box.IniLabel.Handle());
  PostKey(GetFocus(), VK_RETURN);
  ASSERT_EQ(opened.size(), 3u);
  EXPECT_EQ(opened[2] + "\\" + runtime::Cp1252FromWide(box.IniLabel.Caption()),
            runtime::Cp1252FromWide(box.IniLabel.Hint()));
  Tab();
  EXPECT_EQ(GetFocus(), box.LinkLabel.Handle());
}

TEST_F(AboutAccessTest, AFocusedLinkShowsAFocusRectangleAndAClickGivesNoFocus) {
  const std::vector<COLORREF> unfocused = Pixels(box.LinkLabel);
  testing_support::Click(box.LinkLabel.Handle(), 2, 2);
  EXPECT_EQ(GetFocus(), box.OKButton.Handle());
  EXPECT_EQ(Pixels(box.LinkLabel), unfocused);
  Tab();
  ASSERT_EQ(GetFocus(), box.LinkLabel.Handle());
  EXPECT_NE(Pixels(box.LinkLabel), unfocused);
}

TEST_F(AboutAccessTest, TextsTakeTheSystemsTextColour) {
  const COLORREF blue = RGB(0, 0, 255);
  EXPECT_GT(Count(Pixels(box.Version), RGB(0, 0, 0)), 20) << "black by default";
  EXPECT_GT(Count(Pixels(box.LinkLabel), blue), 20);
  {
    // White text on a black face, as high contrast (black) gives.
    TSystemColors colors({COLOR_BTNFACE, COLOR_BTNTEXT}, {RGB(0, 0, 0), RGB(255, 255, 255)});
    for (const toolkit::TLabel* label :
         {&box.Version, &box.Label7, &box.Copyright, &box.CommentLabel, &box.ProductName}) {
      const std::vector<COLORREF> pixels = Pixels(*label);
      EXPECT_GT(Count(pixels, RGB(255, 255, 255)), 10);
      EXPECT_GT(Count(pixels, RGB(0, 0, 0)), static_cast<int>(pixels.size()) / 2) << "on the black face";
    }
    EXPECT_GT(Count(Pixels(box.LinkLabel), blue), 20) << "links stay blue without high contrast";
  }
  {
    // Wine does not switch high contrast on: the answer is forced.
    TSystemColors link({COLOR_HOTLIGHT}, {RGB(255, 255, 0)});
    const toolkit::TForcedHighContrast on(true);
    EXPECT_GT(Count(Pixels(box.LinkLabel), RGB(255, 255, 0)), 20) << "links in the system's link colour";
  }
  EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), RGB(0, 0, 0)) << "the colours are back";
}

TEST(LabelColors, FollowTheSchemeHighContrastFirst) {
  TSystemColors colors({COLOR_HOTLIGHT, COLOR_BTNTEXT}, {RGB(255, 255, 0), RGB(0, 255, 255)});
  const struct {
    COLORREF color;
    bool highContrast, dark;
    COLORREF drawn;
  } cases[] = {
      {toolkit::kLinkTextColor, false, false, RGB(0, 0, 255)},
      {toolkit::kLinkTextColor, true, true, RGB(255, 255, 0)},
      {toolkit::kLinkTextColor, false, true, RGB(102, 178, 255)},
      {toolkit::kButtonTextColor, false, false, RGB(0, 255, 255)},
      {toolkit::kButtonTextColor, true, true, RGB(0, 255, 255)},
      {toolkit::kButtonTextColor, false, true, RGB(240, 240, 240)},
      {RGB(1, 2, 3), false, true, RGB(1, 2, 3)},
  };
  for (const auto& c : cases) {
    const toolkit::TForcedHighContrast contrast(c.highContrast);
    const toolkit::TForcedAppMode mode(c.dark);
    EXPECT_EQ(toolkit::DrawnColor(c.color), c.drawn) << c.color << " " << c.highContrast << c.dark;
  }
}
