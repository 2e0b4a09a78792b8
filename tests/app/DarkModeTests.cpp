// Dark mode as a user switches it: every window of the program follows Windows' app mode while it
// is open, and comes back to the light scheme pixel for pixel.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "about/aboutdlg.h"
#include "app/HelpWindow.h"
#include "app/MainForm.h"
#include "tests/support/AppModeSetting.h"
#include "tests/support/ExecutableFolder.h"
#include "tests/support/FakeDriveQueries.h"
#include "tests/support/SystemColors.h"
#include "tests/support/WindowTesting.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "toolkit/HighContrast.h"
#include "toolkit/Theme.h"

using testing_support::ExecutableFolder;
using testing_support::Pump;
using toolkit::TRole;

namespace {

// The window's client area as the screen shows it.
std::vector<COLORREF> OnScreen(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  const toolkit::TWindowDC screen(window);
  toolkit::TMemoryDC copy(CreateCompatibleDC(screen.Get()));
  toolkit::TBitmap image(toolkit::CreateMemoryImage(client.right, client.bottom));
  BITMAP bits{};
  GetObjectW(image.Get(), sizeof(bits), &bits);
  {
    const toolkit::TSelectObject selected(copy.Get(), image.Get());
    BitBlt(copy.Get(), 0, 0, client.right, client.bottom, screen.Get(), 0, 0, SRCCOPY);
  }
  GdiFlush();
  const auto* pixel = static_cast<const DWORD*>(bits.bmBits);
  std::vector<COLORREF> pixels;
  for (int i = 0; i < client.right * client.bottom; ++i)
    pixels.push_back(RGB(pixel[i] >> 16 & 0xFF, pixel[i] >> 8 & 0xFF, pixel[i] & 0xFF));
  return pixels;
}

std::string Fingerprint(const std::vector<COLORREF>& pixels) {
  uint64_t hash = 14695981039346656037u;  // FNV-1a
  for (const COLORREF pixel : pixels)
    for (int shift = 0; shift < 32; shift += 8) hash = (hash ^ (pixel >> shift & 0xFF)) * 1099511628211u;
  char text[17];
  std::snprintf(text, sizeof(text), "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

// The approved pictures' fingerprints by name ("main-dark"), from golden\screens.txt.
std::map<std::string, std::string> ApprovedPictures() {
  std::ifstream file(std::filesystem::path(ExecutableFolder() + L"golden\\screens.txt"));
  std::map<std::string, std::string> approved;
  for (std::string name, hash; file >> name >> hash;) approved[name] = hash;
  return approved;
}

// The client area as a PPM picture beside the test program, for a look at what changed.
void SavePicture(HWND window, const std::vector<COLORREF>& pixels, const std::string& name) {
  RECT client;
  GetClientRect(window, &client);
  std::ofstream file(
      std::filesystem::path(ExecutableFolder() + std::wstring(name.begin(), name.end()) + L".ppm"),
      std::ios::binary);
  file << "P6\n" << client.right << " " << client.bottom << "\n255\n";
  for (const COLORREF pixel : pixels)
    file << static_cast<char>(GetRValue(pixel)) << static_cast<char>(GetGValue(pixel))
         << static_cast<char>(GetBValue(pixel));
}

// The share of the pixels that have the colour.
double Share(const std::vector<COLORREF>& pixels, COLORREF color) {
  const auto count = std::count(pixels.begin(), pixels.end(), color);
  return pixels.empty() ? 0 : static_cast<double>(count) / static_cast<double>(pixels.size());
}

COLORREF Dark(TRole role) {
  return toolkit::PaletteOf(toolkit::TScheme::Dark)[static_cast<size_t>(role)];
}

class DarkModeTest : public ::testing::Test {
 protected:
  DarkModeTest() : form(fake), box(nullptr) {
    fake.Drives['C'] = testing_support::FixedDrive(1000, 400);
    toolkit::Application().HelpViewer = &viewer;
    form.AnswerPatience = testing_support::kFakeAnswerPatience;
    form.Create();
    form.Show();
    Pump();
    const POINT c = testing_support::ListItemCenter(form.DrivesView.Handle(), 0);
    testing_support::Click(form.DrivesView.Handle(), c.x, c.y);
    testing_support::WaitForAnswers();
    box.Create();
    box.Show();
    SetFocus(form.InfoGrid.Handle());
    testing_support::PostKey(form.InfoGrid.Handle(), VK_F1);
    Pump();
    // Side by side, so that each shows whole (at 150 % as far as the screen has room).
    RECT main;
    SetWindowPos(form.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    GetWindowRect(form.Handle(), &main);
    SetWindowPos(box.Handle(), HWND_TOP, main.right, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    if (viewer.Window())
      SetWindowPos(viewer.Window()->Handle(), HWND_TOP, 0, main.bottom, 700, 400, SWP_NOACTIVATE);
    Pump();
  }
  ~DarkModeTest() override {
    toolkit::Application().HelpViewer = nullptr;
    toolkit::ReadAppMode();
  }
  // The user switches the app mode; Windows tells every top-level window.
  void Switch(std::optional<DWORD> light) {
    testing_support::TAppModeSetting::Set(light);
    for (HWND window : Windows())
      SendMessageW(window, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
    Pump();
  }
  std::vector<HWND> Windows() const { return {form.Handle(), box.Handle(), viewer.Window()->Handle()}; }
  // The lines "name fingerprint" of the main window and the about dialog (the version's texts left
  // out, which each release changes) that differ from their approved pictures, in light, dark and
  // Windows' High Contrast Black and White; each name ends in suffix. The pictures of those are left
  // beside the test program (.ppm) for a look.
  std::string ChangedPictures(const std::string& suffix);

  testing_support::TAppModeSetting before{std::nullopt};
  testing_support::TFakeDriveQueries fake;
  app::TRichHelpViewer viewer;
  app::TMainForm form;
  about::TAboutBox box;
};

}  // namespace

TEST_F(DarkModeTest, EveryWindowFollowsALiveSwitchBothWays) {
  ASSERT_NE(viewer.Window(), nullptr);
  std::map<HWND, std::vector<COLORREF>> light;
  for (HWND window : Windows()) light[window] = OnScreen(window);

  Switch(0);
  const struct {
    const char* region;
    HWND window;
    TRole background;
    double least;  // share of the background's colour
    TRole text;    // light text or a mark on it
  } regions[] = {
      {"drive list", form.DrivesView.Handle(), TRole::Window, 0.7, TRole::WindowText},
      {"table", form.InfoGrid.Handle(), TRole::Window, 0.3, TRole::WindowText},
      {"tool bar", form.ButtonPanel.Handle(), TRole::Face, 0.5, TRole::EdgeHighlight},
      {"gauge track", form.SizeGauge.Handle(), TRole::GaugeTrack, 0.3, TRole::GaugeBar},
      {"about dialog", box.Handle(), TRole::Face, 0.4, TRole::Text},
      {"link", box.LinkLabel.Handle(), TRole::Face, 0.5, TRole::Link},
      {"help text", viewer.Window()->Editor().Handle(), TRole::Window, 0.5, TRole::WindowText},
  };
  for (const auto& r : regions) {
    const std::vector<COLORREF> pixels = OnScreen(r.window);
    EXPECT_GE(Share(pixels, Dark(r.background)), r.least) << r.region;
    EXPECT_GT(Share(pixels, Dark(r.text)), 0.002) << r.region;
  }

  // The sunken frames of the drive list and of the table, which the system draws light, are dark.
  for (HWND framed : {form.DrivesView.Handle(), form.InfoGrid.Handle()}) {
    RECT outer;
    GetWindowRect(framed, &outer);
    const toolkit::TWindowDC dc(framed, true);
    for (int y = 0; y < outer.bottom - outer.top; y += 7)
      for (int x : {0, 1, static_cast<int>(outer.right - outer.left) - 2,
                    static_cast<int>(outer.right - outer.left) - 1})
        EXPECT_LT(GetGValue(GetPixel(dc.Get(), x, y)), 128) << "frame at " << x << "," << y;
  }

  Switch(std::nullopt);
  for (HWND window : Windows()) EXPECT_TRUE(OnScreen(window) == light[window]) << "light again, as before";
}

std::string DarkModeTest::ChangedPictures(const std::string& suffix) {
  const struct {
    std::string name;
    HWND window;
    std::vector<HWND> leftOut;
  } windows[] = {{"main", form.Handle(), {}},
                 {"about", box.Handle(), {box.Version.Handle(), box.Copyright.Handle()}}};
  std::map<std::string, std::string> approved = ApprovedPictures();
  std::ostringstream changed;
  const auto compare = [&](const std::string& scheme) {
    for (const auto& w : windows) {
      // On top: at 150 % the windows do not fit side by side.
      SetWindowPos(w.window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      Pump();
      std::vector<COLORREF> pixels = OnScreen(w.window);
      RECT client;
      GetClientRect(w.window, &client);
      for (HWND part : w.leftOut) {
        RECT r = testing_support::BoundsInParent(part);
        MapWindowPoints(GetParent(part), w.window, reinterpret_cast<POINT*>(&r), 2);
        for (int y = r.top; y < r.bottom; ++y)
          std::fill_n(pixels.begin() + y * client.right + r.left, r.right - r.left, RGB(255, 0, 255));
      }
      const std::string name = w.name + "-" + scheme + suffix, fingerprint = Fingerprint(pixels);
      if (approved[name] == fingerprint) continue;
      SavePicture(w.window, pixels, name);
      changed << name << " " << fingerprint << "\n";
    }
  };
  compare("light");
  Switch(0);
  compare("dark");
  Switch(std::nullopt);
  for (const testing_support::TColorScheme* colors :
       {&testing_support::HighContrastBlack(), &testing_support::HighContrastWhite()}) {
    const testing_support::TSystemColors system(*colors);
    const toolkit::TForcedHighContrast contrast(true);
    for (HWND window : Windows()) SendMessageW(window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    Pump();
    compare(colors->Name);
  }
  for (HWND window : Windows()) SendMessageW(window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  Pump();
  return changed.str();
}

// The main window and the about dialog as their approved pictures show them, in each scheme: a
// change to how any control draws (a colour, an edge, a text's place) shows here, also where no
// other test looks.
TEST_F(DarkModeTest, EveryWindowLooksAsApprovedInEachScheme) {
  EXPECT_EQ(ChangedPictures(""), "")
      << "Changed pictures are beside the test program (.ppm); once they look right, "
         "these lines go into tests/app/golden/screens.txt";
}

// Not a test of its own: the child process of the test below, at 150 %.
TEST_F(DarkModeTest, DISABLED_PrintsThePicturesThatChangedAt144Dpi) {
  ASSERT_EQ(form.Dpi(), 144);
  std::printf("pictures:\n%sdone\n", ChangedPictures("-144").c_str());
  std::fflush(stdout);
}

// The same at 150 %, where every picture and text is drawn at its own size.
TEST(ApprovedPictures, EveryWindowLooksAsApprovedInEachSchemeAt144Dpi) {
  std::string report =
      testing_support::RunAtSystemDpi(144, "DarkModeTest.DISABLED_PrintsThePicturesThatChangedAt144Dpi");
  std::erase(report, '\r');  // the child's text output ends its lines in CR LF
  const size_t start = report.find("pictures:\n"), end = report.find("done\n");
  ASSERT_TRUE(start != std::string::npos && end != std::string::npos && start < end) << report;
  EXPECT_EQ(report.substr(start + 10, end - start - 10), "")
      << "Changed pictures are beside the test program (.ppm); once they look right, "
         "these lines go into tests/app/golden/screens.txt";
}

// Not a test: the program with the machine's drives and its help, high contrast forced on (Wine
// cannot switch it on), until its window is closed; scripts/screenshot-schemes.sh runs it after
// setting Windows' colours of a high-contrast scheme in the prefix's registry.
TEST(HighContrastProgram, DISABLED_RunsUntilClosed) {
  const toolkit::TForcedHighContrast contrast(true);
  app::TRichHelpViewer viewer;
  toolkit::Application().HelpViewer = &viewer;
  app::TMainForm form;
  form.Create();
  toolkit::Application().Run(form);
  toolkit::Application().HelpViewer = nullptr;
}
