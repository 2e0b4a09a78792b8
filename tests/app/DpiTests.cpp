// The main window at other DPIs: the 96-dpi layout scaled (positions, sizes, fonts, table rows,
// pictures), both when the system runs at another DPI from the start (a child process started with
// the prefix's LogPixels changed) and when the window moves to a monitor of another DPI.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "tests/support/WindowTesting.h"
#include "toolkit/Dpi.h"

using app::TMainForm;
using testing_support::BoundsInParent;
using testing_support::Pump;

namespace {

struct TPlace {
  std::string Name;
  RECT Bounds;  // in the parent's client area
};

std::vector<TPlace> Places(const TMainForm& f) {
  const std::pair<const char*, const toolkit::TControl*> components[] = {
      {"Panel1", &f.Panel1},           {"DrivesView", &f.DrivesView},
      {"InfoGrid", &f.InfoGrid},       {"ProgressPanel", &f.ProgressPanel},
      {"ButtonPanel", &f.ButtonPanel}, {"Splitter", &f.Splitter},
      {"InfoBtn", &f.InfoBtn},         {"CloseBtn", &f.CloseBtn},
      {"CopyInfoBtn", &f.CopyInfoBtn}, {"CopyInfosBtn", &f.CopyInfosBtn},
      {"SizeGauge", &f.SizeGauge},     {"HelpBtn", &f.HelpBtn}};
  std::vector<TPlace> places;
  for (const auto& [name, component] : components)
    places.push_back({name, BoundsInParent(component->Handle())});
  return places;
}

RECT ClientOf(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  return r;
}

int FontHeight(HFONT font) {
  LOGFONTA face{};
  GetObjectA(font, sizeof(face), &face);
  return face.lfHeight;
}

int ImageSize(HIMAGELIST images) {
  int width = 0, height = 0;
  ImageList_GetIconSize(images, &width, &height);
  return height;
}

// Everything that scales, as text: one line per figure.
std::string Describe(const TMainForm& f) {
  std::ostringstream out;
  out << "DPI " << f.Dpi() << "\n";
  const RECT client = ClientOf(f.Handle());
  out << "Client 0 0 " << client.right << " " << client.bottom << "\n";
  for (const TPlace& p : Places(f))
    out << p.Name << " " << p.Bounds.left << " " << p.Bounds.top << " " << p.Bounds.right << " "
        << p.Bounds.bottom << "\n";
  out << "Rows " << f.InfoGrid.RowHeight(0) << " " << f.InfoGrid.RowHeight(1) << "\n";
  out << "Font " << FontHeight(f.Font()) << "\n";
  out << "Images " << ImageSize(f.ImageList1.Get()) << "\n";
  return out.str();
}

// The window's outer rectangle for a client area of the given size, placed where it is now.
RECT OuterForClient(HWND window, int width, int height) {
  RECT outer, client;
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  return RECT{outer.left, outer.top, outer.left + width + (outer.right - outer.left - client.right),
              outer.top + height + (outer.bottom - outer.top - client.bottom)};
}

void MoveToDpi(TMainForm& form, int dpi, const RECT& suggested) {
  SendMessageA(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  Pump();
}

// Every edge of every component lies within one pixel of the 96-dpi place scaled.
::testing::AssertionResult ScaledWithinOnePixel(const std::vector<TPlace>& at96,
                                                const std::vector<TPlace>& now, int dpi) {
  if (at96.size() != now.size()) return ::testing::AssertionFailure() << "different components";
  for (size_t i = 0; i < at96.size(); ++i) {
    const RECT& a = at96[i].Bounds;
    const RECT& b = now[i].Bounds;
    const int expected[] = {toolkit::Scale(a.left, dpi), toolkit::Scale(a.top, dpi),
                            toolkit::Scale(a.right, dpi), toolkit::Scale(a.bottom, dpi)};
    const int actual[] = {b.left, b.top, b.right, b.bottom};
    for (int e = 0; e < 4; ++e)
      if (std::abs(expected[e] - actual[e]) > 1)
        return ::testing::AssertionFailure()
               << now[i].Name << " at " << dpi << " dpi: " << b.left << "," << b.top << "," << b.right << ","
               << b.bottom << " instead of " << expected[0] << "," << expected[1] << "," << expected[2] << ","
               << expected[3];
  }
  return ::testing::AssertionSuccess();
}

// The figure lines of a report, by name.
std::vector<TPlace> ReportedPlaces(const std::string& report, int& dpi, int& header, int& row, int& font,
                                   int& images) {
  std::vector<TPlace> places;
  std::istringstream in(report);
  std::string name;
  while (in >> name) {
    if (name == "DPI") {
      in >> dpi;
    } else if (name == "Rows") {
      in >> header >> row;
    } else if (name == "Font") {
      in >> font;
    } else if (name == "Images") {
      in >> images;
    } else if (name == "Client" || name.find("Btn") != std::string::npos ||
               name.find("Panel") != std::string::npos || name == "DrivesView" || name == "InfoGrid" ||
               name == "Splitter" || name == "SizeGauge") {
      RECT r;
      if (in >> r.left >> r.top >> r.right >> r.bottom && name != "Client") places.push_back({name, r});
    } else {
      std::getline(in, name);  // gtest's own lines
    }
  }
  return places;
}

// A shown main window moved to monitors of other DPIs at the client size each asks for, and back to
// 96 dpi at its first place when it goes.
struct TScaledForm {
  TScaledForm() {
    Form.Create();
    Form.Show();
    Pump();
    GetWindowRect(Form.Handle(), &outer96);
    client96 = ClientOf(Form.Handle());
  }
  ~TScaledForm() { MoveToDpi(Form, 96, outer96); }
  void MoveTo(int dpi) {
    MoveToDpi(Form, dpi,
              OuterForClient(Form.Handle(), toolkit::Scale(client96.right, dpi),
                             toolkit::Scale(client96.bottom, dpi)));
  }
  TMainForm Form;
  RECT outer96{}, client96{};
};

void ExpectScaledAtSystemDpi(int dpi) {
  TMainForm reference;
  reference.Create();
  reference.Show();
  Pump();
  ASSERT_EQ(reference.Dpi(), 96) << "the tests' prefix runs at 96 dpi";
  const std::vector<TPlace> at96 = Places(reference);

  const std::string report = testing_support::RunAtSystemDpi(static_cast<DWORD>(dpi), "MainFormDpiReport.*");
  int reportedDpi = 0, header = 0, row = 0, font = 0, images = 0;
  const std::vector<TPlace> places = ReportedPlaces(report, reportedDpi, header, row, font, images);
  ASSERT_EQ(reportedDpi, dpi) << report;
  EXPECT_TRUE(ScaledWithinOnePixel(at96, places, dpi)) << report;
  EXPECT_EQ(header, toolkit::Scale(5, dpi));
  EXPECT_EQ(row, toolkit::Scale(19, dpi));
  EXPECT_EQ(font, -toolkit::Scale(11, dpi));
  EXPECT_EQ(images, toolkit::Scale(32, dpi));
}

}  // namespace

// Not a test of its own: the child process of the tests below, started at another system DPI.
TEST(MainFormDpiReport, DISABLED_PrintsWhatScales) {
  TMainForm form;
  form.Create();
  form.Show();
  Pump();
  std::fputs(Describe(form).c_str(), stdout);
  std::fflush(stdout);
}

TEST(MainFormDpi, ScaledAtSystemDpi120) {
  ExpectScaledAtSystemDpi(120);
}
TEST(MainFormDpi, ScaledAtSystemDpi144) {
  ExpectScaledAtSystemDpi(144);
}
TEST(MainFormDpi, ScaledAtSystemDpi192) {
  ExpectScaledAtSystemDpi(192);
}

TEST(MainFormDpi, AMoveToAnotherDpiRelayoutsAndBackRestoresEveryPixel) {
  TMainForm form;
  form.Create();
  form.Show();
  Pump();
  const std::vector<TPlace> at96 = Places(form);
  const std::string described96 = Describe(form);
  RECT outer96;
  GetWindowRect(form.Handle(), &outer96);
  const RECT client96 = ClientOf(form.Handle());

  MoveToDpi(form, 144,
            OuterForClient(form.Handle(), toolkit::Scale(client96.right, 144),
                           toolkit::Scale(client96.bottom, 144)));
  EXPECT_EQ(form.Dpi(), 144);
  EXPECT_TRUE(ScaledWithinOnePixel(at96, Places(form), 144));
  EXPECT_EQ(form.InfoGrid.RowHeight(1), 29);
  EXPECT_EQ(form.InfoGrid.RowHeight(0), 8);
  EXPECT_EQ(form.InfoGrid.ColWidth(0), (form.InfoGrid.ClientWidth() - 1) / 2)
      << "the column rule on the new size";
  EXPECT_EQ(FontHeight(form.Font()), -17);
  EXPECT_EQ(ImageSize(form.ImageList1.Get()), 48);
  EXPECT_EQ(ImageSize(reinterpret_cast<HIMAGELIST>(
                SendMessageA(form.DrivesView.Handle(), LVM_GETIMAGELIST, LVSIL_NORMAL, 0))),
            48)
      << "the view shows the new pictures";

  MoveToDpi(form, 96, outer96);
  EXPECT_EQ(Describe(form), described96);
}

// The user cannot size the window below what shows every tool button and a row of the table above
// the gauge, at any scaling (it could shrink to 60 x 40, where only some buttons showed and the
// gauge covered the rest).
TEST(MainFormDpi, AtItsLeastSizeTheWindowShowsEveryButtonAndATableRow) {
  TScaledForm scaled;
  TMainForm& form = scaled.Form;
  for (const int dpi : {96, 144}) {
    scaled.MoveTo(dpi);
    MINMAXINFO limits{};
    SendMessageW(form.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    ASSERT_GT(limits.ptMinTrackSize.x, 60) << dpi;
    // The user sizes it as small as it goes.
    SetWindowPos(form.Handle(), nullptr, 0, 0, limits.ptMinTrackSize.x, limits.ptMinTrackSize.y,
                 SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    const RECT bar = ClientOf(form.ButtonPanel.Handle());
    for (const controls::TToolButton* button :
         {&form.CopyInfoBtn, &form.CopyInfosBtn, &form.HelpBtn, &form.InfoBtn, &form.CloseBtn}) {
      const RECT b = BoundsInParent(button->Handle());
      EXPECT_TRUE(b.left >= 0 && b.right <= bar.right && b.bottom <= bar.bottom)
          << dpi << " dpi: a button at " << b.left << "-" << b.right << " in a bar " << bar.right << " wide";
    }
    const int row = form.InfoGrid.RowHeight(0) + form.InfoGrid.GridLineWidth() + form.InfoGrid.RowHeight(1);
    EXPECT_GE(ClientOf(form.InfoGrid.Handle()).bottom, row) << dpi << " dpi: the table's first row";
    RECT grid, gauge;
    GetWindowRect(form.InfoGrid.Handle(), &grid);
    GetWindowRect(form.SizeGauge.Handle(), &gauge);
    EXPECT_LE(grid.bottom, gauge.top) << dpi << " dpi: the gauge below the table";
  }
}

TEST(MainFormDpi, TheGaugeTextStaysCentredAtEveryDpi) {
  TScaledForm scaled;
  TMainForm& form = scaled.Form;
  for (const int dpi : {96, 120, 144, 192}) {
    scaled.MoveTo(dpi);
    const RECT gauge = ClientOf(form.SizeGauge.Handle());
    controls::TBltBitmap image;
    image.SetSize(gauge.right, gauge.bottom);
    form.SizeGauge.PaintTo(image.Canvas());
    // "0%" in black on white inside the black frame: the extent of its black pixels.
    int left = gauge.right, right = -1, top = gauge.bottom, bottom = -1;
    for (int y = 1; y < gauge.bottom - 1; ++y)
      for (int x = 1; x < gauge.right - 1; ++x)
        if (GetPixel(image.Canvas(), x, y) == RGB(0, 0, 0)) {
          left = std::min(left, x), right = std::max(right, x);
          top = std::min(top, y), bottom = std::max(bottom, y);
        }
    ASSERT_GE(right, left) << dpi << " dpi: no text";
    EXPECT_LE(std::abs((left + right + 1) - gauge.right), 3) << dpi << " dpi: not centred across";
    EXPECT_LE(std::abs((top + bottom + 1) - gauge.bottom), 4) << dpi << " dpi: not centred down";
    EXPECT_GT(bottom - top, toolkit::Scale(6, dpi)) << dpi << " dpi: the text does not grow";
  }
}
