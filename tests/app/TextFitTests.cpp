// No text is clipped or runs into another control at 96, 120, 144 and 192 dpi: each label's, cell's
// and line's text extent, measured in the font it is drawn with, against its rectangle. The windows
// are made in a child process at each system DPI, as a user starts the program there.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "about/InfoAdd.h"
#include "about/aboutdlg.h"
#include "app/HelpWindow.h"
#include "app/MainForm.h"
#include "runtime/Text.h"
#include "tests/support/FakeDriveQueries.h"
#include "tests/support/WindowTesting.h"
#include "toolkit/Application.h"
#include "toolkit/Dpi.h"

using testing_support::Pump;

namespace {

HFONT FontOf(HWND window) {
  const auto font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  // A window that answers no font would be measured in the system font, not in its own.
  EXPECT_NE(font, nullptr) << "WM_GETFONT";
  return font;
}

// What DrawText makes of a text in a window's font: one line, or word-wrapped to width.
RECT TextExtent(HWND window, const std::wstring& text, int width = 0) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, FontOf(window));
  RECT r{0, 0, width, 0};
  DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | (width ? DT_WORDBREAK : 0));
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return r;
}

TEXTMETRICA Metrics(HFONT font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return metrics;
}

RECT Bounds(HWND window) {
  return testing_support::BoundsInParent(window);
}

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

// A label sized to its text lies inside its parent and clear of the named siblings.
void ExpectClear(const char* name, const toolkit::TLabel& label,
                 std::vector<const toolkit::TControl*> siblings) {
  const RECT r = Bounds(label.Handle());
  const RECT text = TextExtent(label.Handle(), label.Caption());
  RECT parent;
  GetClientRect(GetParent(label.Handle()), &parent);
  EXPECT_GE(r.right - r.left, text.right) << name << " narrower than its text";
  EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= parent.right && r.bottom <= parent.bottom)
      << name << " " << Describe(r) << " leaves its parent " << Describe(parent);
  for (const toolkit::TControl* sibling : siblings) {
    const RECT s = Bounds(sibling->Handle());
    RECT both;
    EXPECT_FALSE(IsWindowVisible(sibling->Handle()) && IntersectRect(&both, &r, &s))
        << name << " " << Describe(r) << " runs into " << Describe(s);
  }
}

// A fixed box: its text, word-wrapped to its width, fits in its height, and no word is wider.
void ExpectFits(const std::string& name, HWND box, const std::wstring& text) {
  RECT r;
  GetClientRect(box, &r);
  const RECT wrapped = TextExtent(box, text, r.right);
  EXPECT_LE(wrapped.right, r.right) << name << ": a word wider than the box";
  EXPECT_LE(wrapped.bottom, r.bottom) << name << ": " << wrapped.bottom << " pixels of text in " << r.bottom;
}

void CheckMainWindow(int dpi) {
  testing_support::TFakeDriveQueries fake;
  // Every kind of drive, and the longest figures a drive of 8 TB gives.
  fake.Drives['A'] = testing_support::FixedDrive(1ull << 20, 1ull << 19);
  fake.Drives['A'].Type = DRIVE_REMOVABLE;
  fake.Drives['C'] = testing_support::FixedDrive(8ull << 40, 123456789012ull);
  fake.Drives['C'].Volume.VolumeName = L"SYSTEMLAUFWERK";
  fake.Drives['F'] = fake.Drives['A'];
  fake.Drives['F'].Type = DRIVE_RAMDISK;
  fake.Drives['N'] = fake.Drives['A'];
  fake.Drives['N'].Type = DRIVE_REMOTE;
  fake.Drives['R'] = fake.Drives['A'];
  fake.Drives['R'].Type = DRIVE_CDROM;
  app::TMainForm form(fake);
  form.AnswerPatience = testing_support::kFakeAnswerPatience;
  form.Create();
  form.Show();
  Pump();
  ASSERT_EQ(form.Dpi(), dpi);
  const TEXTMETRICA font = Metrics(form.Font());
  EXPECT_NEAR(font.tmHeight - font.tmInternalLeading, toolkit::Scale(11, dpi), 1)
      << "the interface font scales";

  const POINT c = testing_support::ListItemCenter(form.DrivesView.Handle(), 1);
  testing_support::Click(form.DrivesView.Handle(), c.x, c.y);
  ASSERT_EQ(form.InfoGrid.RowCount(), 17);
  const TEXTMETRICA cellFont = Metrics(FontOf(form.InfoGrid.Handle()));
  for (int row = 1; row < form.InfoGrid.RowCount(); ++row) {
    EXPECT_LE(2 + cellFont.tmHeight, form.InfoGrid.RowHeight(row)) << "row " << row;
    for (int col = 0; col < 2; ++col) {
      const std::wstring& text = form.InfoGrid.Cell(col, row);
      EXPECT_LE(2 + TextExtent(form.InfoGrid.Handle(), text).right, form.InfoGrid.ColWidth(col))
          << "cell " << col << "," << row << ": " << runtime::Cp1252FromWide(text);
    }
  }
  RECT list;
  GetClientRect(form.DrivesView.Handle(), &list);
  for (int i = 0; i < form.DrivesView.Count(); ++i) {
    RECT label{};
    label.left = LVIR_LABEL;
    SendMessageA(form.DrivesView.Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(&label));
    EXPECT_GE(label.right - label.left,
              TextExtent(form.DrivesView.Handle(), form.DrivesView.Caption(i)).right)
        << i;
    EXPECT_LE(label.right, list.right) << i;
  }
  RECT gauge;
  GetClientRect(form.SizeGauge.Handle(), &gauge);
  const RECT percent = TextExtent(form.SizeGauge.Handle(), L"100%");
  EXPECT_LE(percent.right + 2, gauge.right);
  EXPECT_LE(percent.bottom + 2, gauge.bottom);
}

void CheckAboutBox(int dpi) {
  about::TAboutBox box(nullptr);
  box.Create();
  box.AddInfoPages(about::InfoAdds);
  box.MailLabel.SetCaption(L"support@quelix.de");
  box.FigureSource = [] { return about::TSystemFigures{131072ull << 20, 100, 2793.4567}; };
  box.Show();
  Pump();
  ASSERT_EQ(box.Dpi(), dpi);
  const TEXTMETRICA ok = Metrics(FontOf(box.OKButton.Handle()));
  EXPECT_NEAR(ok.tmHeight - ok.tmInternalLeading, toolkit::Scale(11, dpi), 1)
      << "the OK button's font scales";
  EXPECT_GE(ok.tmWeight, FW_BOLD) << "and stays bold";
  RECT button;
  GetClientRect(box.OKButton.Handle(), &button);
  const RECT okText = TextExtent(box.OKButton.Handle(), L"OK");
  EXPECT_LE(okText.bottom, button.bottom);

  // The front page, with the icon.
  ExpectFits("ProductName", box.ProductName.Handle(), box.ProductName.Caption());
  ExpectFits("Copyright", box.Copyright.Handle(), box.Copyright.Caption());
  ExpectFits("CommentLabel", box.CommentLabel.Handle(), box.CommentLabel.Caption());
  ExpectClear("Version", box.Version, {&box.Notebook, &box.TimeStamp, &box.Copyright});
  ExpectClear("Label7", box.Label7, {&box.LinkLabel});
  ExpectClear("Label8", box.Label8, {&box.MailLabel});
  ExpectClear("LinkLabel", box.LinkLabel, {&box.MailLabel});
  ExpectClear("MailLabel", box.MailLabel, {});
  box.TimeStamp.SetVisible(true);
  const RECT stamp = TextExtent(box.TimeStamp.Handle(), box.TimeStamp.Caption());
  RECT stampBox;
  GetClientRect(box.TimeStamp.Handle(), &stampBox);
  EXPECT_LE(stamp.right, stampBox.right);
  EXPECT_LE(stamp.bottom, stampBox.bottom);

  // The "System" page with its largest figures.
  box.Scroller.SetPosition(1);
  box.AboutTimerTimer();
  Pump();
  ExpectClear("Label1", box.Label1, {&box.Label6, &box.LoadMemGauge});
  ExpectClear("Label6", box.Label6, {&box.LoadMemGauge, &box.FreeLabel});
  ExpectClear("FreeLabel", box.FreeLabel, {&box.FreeMemLabel, &box.MhzLbLabel});
  ExpectClear("FreeMemLabel", box.FreeMemLabel, {&box.LoadMemGauge, &box.MhzLabel});
  ExpectClear("MhzLbLabel", box.MhzLbLabel, {&box.MhzLabel, &box.Label2});
  ExpectClear("MhzLabel", box.MhzLabel, {&box.Label2});
  ExpectClear("Label2", box.Label2, {&box.IniLabel});
  ExpectClear("IniLabel", box.IniLabel, {});

  // The info pages: each text in the label that fills its page.
  for (int i = 0; i < about::InfoAdds.Count(); ++i) {
    HWND label = GetWindow(box.Notebook.Page(i + 2).Handle(), GW_CHILD);
    ASSERT_NE(label, nullptr) << "page " << i + 2;
    ExpectFits("info page " + std::to_string(i + 1), label,
               toolkit::WithDrawableLineBreaks(about::InfoAdds[i]));
  }
}

void CheckHelpWindow() {
  app::THelpWindow help(nullptr, true);
  help.Create();
  help.Show();
  Pump();
  HWND editor = help.Editor().Handle();
  RECT client;
  GetClientRect(editor, &client);
  const int lines = static_cast<int>(SendMessageA(editor, EM_GETLINECOUNT, 0, 0));
  ASSERT_GT(lines, 20);
  for (int line = 0; line < lines; ++line) {
    const LRESULT start = SendMessageA(editor, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
    const LRESULT length = SendMessageA(editor, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
    if (length == 0) continue;
    POINTL last{};
    SendMessageA(editor, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&last), start + length - 1);
    EXPECT_LT(last.x, client.right) << "line " << line << " runs past the window";
  }
}

// Every text at the system DPI of this process.
TEST(TextFitReport, DISABLED_AtThisDpi) {
  const int dpi = toolkit::ScreenDpi();
  CheckMainWindow(dpi);
  CheckAboutBox(dpi);
  CheckHelpWindow();
}

void ExpectEveryTextFitsAt(DWORD dpi) {
  const std::string report = testing_support::RunAtSystemDpi(dpi, "TextFitReport.*");
  EXPECT_NE(report.find("[  PASSED  ] 1 test"), std::string::npos) << report;
}

}  // namespace

TEST(TextFit, At96Dpi) {
  ExpectEveryTextFitsAt(96);
}
TEST(TextFit, At120Dpi) {
  ExpectEveryTextFitsAt(120);
}
TEST(TextFit, At144Dpi) {
  ExpectEveryTextFitsAt(144);
}
TEST(TextFit, At192Dpi) {
  ExpectEveryTextFitsAt(192);
}
