// The clipboard exports: the separated text, and both buttons through the real clipboard.
#include <gtest/gtest.h>

#include <windows.h>

#include <dlgs.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/MainForm.h"
#include "drive/DriveExport.h"
#include "runtime/Handles.h"
#include "runtime/Text.h"
#include "tests/support/FakeDriveQueries.h"
#include "tests/support/TempFiles.h"
#include "tests/support/WindowTesting.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Cursor.h"

using drive::DrivesTableLines;
using drive::ExportField;
using testing_support::FixedDrive;
using testing_support::NoMedium;
using testing_support::Pump;
using testing_support::TApplicationRecorder;
using testing_support::TFakeDriveQueries;

namespace {

const char kHeader[] =
    "Laufwerksbuchstabe;Laufwerkstyp;Volume-Name;Filesystem;Seriennummer;Seriennummer (Hex);"
    "Länge Dateiname;Sektoren/Cluster;Bytes/Sektor;Freie Cluster;Cluster gesamt;frei (Bytes);"
    "belegt (Bytes);gesamt (Bytes);frei für Benutzer (Bytes);belegt (%)";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "text does not end with CR LF";
  return lines;
}

int Fields(const std::string& line) {
  return static_cast<int>(std::count(line.begin(), line.end(), ';')) + 1;
}

void PutOnClipboard(const std::string& text) {
  toolkit::SetClipboardText(nullptr, text, runtime::WideFromCp1252(text));
}
std::string FromClipboard() {
  return toolkit::ClipboardText(nullptr);
}

}  // namespace

TEST(ExportField, QuotesOnlyWhatWouldBreakTheLine) {
  EXPECT_EQ(ExportField(L"DATEN", ';'), L"DATEN");
  EXPECT_EQ(ExportField(L"", ';'), L"");
  EXPECT_EQ(ExportField(L"1.234,5000", ';'), L"1.234,5000");
  EXPECT_EQ(ExportField(L"a;b", ';'), L"\"a;b\"");
  EXPECT_EQ(ExportField(L"Zoll\"", ';'), L"\"Zoll\"\"\"");
  EXPECT_EQ(ExportField(L"a\r\nb", ';'), L"\"a\r\nb\"");
  EXPECT_EQ(ExportField(L"a,b", ','), L"\"a,b\"");
  EXPECT_EQ(ExportField(L"\u65E5;\U0001F600", ';'), L"\"\u65E5;\U0001F600\"");
}

TEST(DriveExport, SelectedDriveGivesOneLinePerRow) {
  TFakeDriveQueries fake;
  fake.Drives['C'] = FixedDrive(4096000, 1024000);
  fake.Drives['C'].Volume.VolumeName = L"Ton;Bild \"neu\"";
  fake.Drives['A'] = NoMedium(DRIVE_REMOVABLE);

  const std::vector<std::string> lines = Lines(drive::DriveInfoLines('C', ';', fake).Text());
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[0], "Laufwerksbuchstabe;C");
  EXPECT_EQ(lines[1], "Laufwerkstyp;Festplatte");
  EXPECT_EQ(lines[2], "Volume-Name;\"Ton;Bild \"\"neu\"\"\"");
  EXPECT_EQ(lines[15], "belegt (%);75,0000");
  for (const std::string& line : lines) EXPECT_EQ(Fields(line), lines[2] == line ? 3 : 2) << line;

  EXPECT_EQ(drive::DriveInfoLines('A', ';', fake).Text(),
            "Laufwerksbuchstabe;A\r\nLaufwerkstyp;Diskette\r\n");
}

TEST(DriveExport, TableHeaderComesFromTheFirstDriveThatAnswered) {
  TFakeDriveQueries fake;
  fake.Drives['A'] = NoMedium(DRIVE_REMOVABLE);
  fake.Drives['C'] = FixedDrive(4096000, 1024000);
  fake.Drives['D'] = NoMedium(DRIVE_CDROM);
  fake.Drives['E'] = FixedDrive(8192000, 8192000);
  fake.Drives['E'].Volume.VolumeName = L"mit;Trenner";

  const std::vector<std::string> lines = Lines(DrivesTableLines({'A', 'C', 'D', 'E'}, ';', fake).Text());
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], kHeader);
  EXPECT_EQ(Fields(lines[0]), 16);
  EXPECT_EQ(lines[1], "A;Diskette");
  EXPECT_EQ(lines[2].substr(0, 30), "C;Festplatte;DATEN;NTFS;305441");
  EXPECT_EQ(Fields(lines[2]), 16);
  EXPECT_EQ(lines[3], "D;CD-ROM");
  // The quoted label keeps the fields after it in their columns.
  EXPECT_EQ(lines[4].substr(0, 28), "E;Festplatte;\"mit;Trenner\";N");
}

TEST(DriveExport, TablesWithoutAnsweringDrives) {
  TFakeDriveQueries fake;
  fake.Drives['A'] = NoMedium(DRIVE_REMOVABLE);
  fake.Drives['R'] = NoMedium(DRIVE_CDROM);
  EXPECT_EQ(DrivesTableLines({}, ';', fake).Text(), "\r\n");
  EXPECT_EQ(DrivesTableLines({'A', 'R'}, ';', fake).Text(), "\r\nA;Diskette\r\nR;CD-ROM\r\n");
}

class ClipboardExportTest : public ::testing::Test {
 protected:
  ClipboardExportTest() {
    fake.Drives['A'] = NoMedium(DRIVE_REMOVABLE);
    fake.Drives['C'] = FixedDrive(4096000, 1024000);
    fake.Drives['D'] = FixedDrive(8192000, 2048000);
    form = std::make_unique<app::TMainForm>(fake);
    form->Create();
    form->Show();
    Pump();
    // Under load the drives may answer after the start's moment; they are listed when they do.
    EXPECT_TRUE(testing_support::PumpUntil([&] { return form->DrivesView.Count() == 3; }));
    PutOnClipboard("vorher");
  }
  // Each waits for the drives it asks: under load they may answer after the moment the window waits.
  void ClickButton(const controls::TToolButton& button) {
    testing_support::Click(button.Handle(), 12, 12);
    EXPECT_TRUE(testing_support::WaitForAnswers());
  }
  void PressSave() {
    testing_support::PostKeyWith(form->Handle(), 'S', {VK_CONTROL});
    Pump();
    EXPECT_TRUE(testing_support::WaitForAnswers());
  }
  void SelectItem(int index) {
    const POINT p = testing_support::ListItemCenter(form->DrivesView.Handle(), index);
    testing_support::Click(form->DrivesView.Handle(), p.x, p.y);
    EXPECT_TRUE(testing_support::WaitForAnswers());
  }

  TFakeDriveQueries fake;
  std::unique_ptr<app::TMainForm> form;
};

TEST_F(ClipboardExportTest, CopyInfoWithoutSelectionLeavesTheClipboardAlone) {
  ClickButton(form->CopyInfoBtn);
  EXPECT_EQ(FromClipboard(), "vorher");
}

TEST_F(ClipboardExportTest, CopyInfoPutsTheSelectedDrivesLinesOnTheClipboard) {
  SelectItem(1);
  ClickButton(form->CopyInfoBtn);
  const std::string text = FromClipboard();
  EXPECT_EQ(text, drive::DriveInfoLines('C', ';', fake).Text());
  EXPECT_EQ(Lines(text).size(), 16u);
  EXPECT_EQ(text.substr(0, 47), "Laufwerksbuchstabe;C\r\nLaufwerkstyp;Festplatte\r\n");

  SelectItem(0);
  ClickButton(form->CopyInfoBtn);
  EXPECT_EQ(FromClipboard(), "Laufwerksbuchstabe;A\r\nLaufwerkstyp;Diskette\r\n");
}

TEST_F(ClipboardExportTest, CopyInfosPutsTheTableOnTheClipboardUnderTheHourGlass) {
  std::vector<toolkit::TCursor> cursors;
  std::mutex asked;  // the drives are asked on threads of their own
  fake.OnVolumeQuery = [&](char) {
    const std::lock_guard lock(asked);
    cursors.push_back(toolkit::ScreenCursor());
  };
  ClickButton(form->CopyInfosBtn);
  const std::vector<std::string> lines = Lines(FromClipboard());
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], kHeader);
  EXPECT_EQ(lines[1], "A;Diskette");
  EXPECT_EQ(lines[2].substr(0, 2), "C;");
  EXPECT_EQ(lines[3].substr(0, 2), "D;");
  ASSERT_EQ(cursors.size(), 3u);
  for (toolkit::TCursor cursor : cursors) EXPECT_EQ(cursor, toolkit::TCursor::HourGlass);
  EXPECT_EQ(toolkit::ScreenCursor(), toolkit::TCursor::Default);
}

TEST_F(ClipboardExportTest, ErrorDuringCopyInfosRestoresTheCursorAndTheClipboard) {
  TApplicationRecorder recorder;
  fake.Drives['D'].ThrowOnVolume = true;
  ClickButton(form->CopyInfosBtn);
  ASSERT_EQ(recorder.Errors.size(), 1u);
  EXPECT_EQ(toolkit::ScreenCursor(), toolkit::TCursor::Default);
  EXPECT_EQ(FromClipboard(), "vorher");
}

TEST_F(ClipboardExportTest, ClipboardHeldByAnotherProgramGivesAClearError) {
  TApplicationRecorder recorder;
  const runtime::TKernelHandle opened(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::thread holder([&] {
    OpenClipboard(nullptr);
    SetEvent(opened.Get());
    WaitForSingleObject(release.Get(), 10000);
    CloseClipboard();
  });
  WaitForSingleObject(opened.Get(), 10000);
  SelectItem(1);
  ClickButton(form->CopyInfoBtn);
  SetEvent(release.Get());
  holder.join();
  ASSERT_EQ(recorder.Errors.size(), 1u);
  EXPECT_EQ(recorder.Errors[0], L"Die Zwischenablage kann nicht geöffnet werden");
  EXPECT_EQ(FromClipboard(), "vorher");
}

// A label beyond code page 1252: the table and the Unicode clipboard text show it whole, the
// single-byte clipboard text is what it always was, with '?' for what code page 1252 lacks.
TEST_F(ClipboardExportTest, NamesBeyondCodePage1252ReachTheTableAndTheUnicodeClipboardWhole) {
  const std::wstring label = L"B\u00FCcher \"\\\t\r\n\u0001-\u65E5\u672C-\U0001F600";
  fake.Drives['C'].Volume.VolumeName = label;
  fake.Drives['C'].Volume.FileSystem = L"\u0416FS";
  SelectItem(1);
  EXPECT_EQ(form->InfoGrid.Cell(0, 3), L"Volume-Name");
  EXPECT_EQ(form->InfoGrid.Cell(1, 3), label);
  EXPECT_EQ(form->InfoGrid.Cell(1, 4), L"\u0416FS");
  EXPECT_EQ(form->InfoGrid.Cell(0, 7), L"L\u00E4nge Dateiname") << "read as code page 1252";

  ClickButton(form->CopyInfoBtn);
  const std::wstring unicode = toolkit::ClipboardUnicodeText(nullptr);
  EXPECT_EQ(unicode.substr(0, 22), L"Laufwerksbuchstabe;C\r\n");
  EXPECT_NE(unicode.find(L"Volume-Name;\"B\u00FCcher \"\"\\\t\r\n\u0001-\u65E5\u672C-\U0001F600\"\r\n"
                         L"Filesystem;\u0416FS\r\n"),
            std::wstring::npos);
  EXPECT_NE(unicode.find(L"\r\nfrei f\u00FCr Benutzer (Bytes);"), std::wstring::npos);
  const std::string bytes = FromClipboard();
  EXPECT_EQ(bytes, drive::DriveInfoLines('C', ';', fake).Text());
  EXPECT_EQ(bytes, runtime::Cp1252FromWide(unicode));
  EXPECT_NE(bytes.find("Filesystem;?FS\r\n"), std::string::npos) << bytes;

  ClickButton(form->CopyInfosBtn);
  const std::wstring table = toolkit::ClipboardUnicodeText(nullptr);
  EXPECT_NE(table.find(L"C;Festplatte;\"B\u00FCcher \"\"\\\t\r\n\u0001-\u65E5\u672C-\U0001F600\";\u0416FS;"),
            std::wstring::npos);
  EXPECT_EQ(FromClipboard(), runtime::Cp1252FromWide(table));
}

namespace {

// The number after "Name:" in the header of an "HTML Format" block.
size_t HeaderOffset(const std::string& block, const std::string& name) {
  const size_t at = block.find(name + ":");
  return at == std::string::npos ? std::string::npos : std::stoul(block.substr(at + name.size() + 1, 10));
}

// The opening tag of the cell with this text.
std::string CellTag(const std::string& html, const std::string& text) {
  const size_t end = html.find(">" + text + "</td>");
  if (end == std::string::npos) return "(none)";
  return html.substr(html.rfind("<td", end), end - html.rfind("<td", end));
}

}  // namespace

// Beside the text, the copy offers its language and a table whose cells say what they are: what
// a spreadsheet would take for a number, a date or a formula is text, the figures are numbers. (Run
// in a Russian locale too, where the language the system would guess is not the text's.)
TEST_F(ClipboardExportTest, ACopyOffersTheLanguageOfItsTextAndATypedTable) {
  fake.Drives['C'].Volume.VolumeName = L"=1+1";
  fake.Drives['C'].Volume.SerialNumber = 0x00012345;
  SelectItem(1);
  ClickButton(form->CopyInfoBtn);

  const std::string locale = toolkit::ClipboardBytes(nullptr, CF_LOCALE);
  ASSERT_GE(locale.size(), 2u);
  EXPECT_EQ(static_cast<unsigned char>(locale[0]) | static_cast<unsigned char>(locale[1]) << 8, 0x0407);

  const std::string block = toolkit::ClipboardBytes(nullptr, toolkit::HtmlClipboardFormat());
  ASSERT_EQ(block.rfind("Version:0.9\r\n", 0), 0u) << block;
  const size_t startHtml = HeaderOffset(block, "StartHTML"), endHtml = HeaderOffset(block, "EndHTML");
  const size_t startFragment = HeaderOffset(block, "StartFragment");
  const size_t endFragment = HeaderOffset(block, "EndFragment");
  EXPECT_EQ(block.substr(startHtml, 5), "<html");
  EXPECT_EQ(endHtml, block.size());
  ASSERT_LT(startFragment, endFragment);
  ASSERT_LE(endFragment, block.size());
  const std::string fragment = block.substr(startFragment, endFragment - startFragment);
  EXPECT_EQ(fragment.rfind("<table>", 0), 0u);
  EXPECT_EQ(fragment.substr(fragment.size() - 8), "</table>");
  EXPECT_EQ(block.substr(endFragment, 18), "<!--EndFragment-->");
  for (const char* text : {"=1+1", "00012345", "C"})
    EXPECT_NE(CellTag(fragment, text).find(" x:str "), std::string::npos)
        << text << ": " << CellTag(fragment, text);
  // The figures whatever the user's separators.
  EXPECT_NE(fragment.find(" sdval=\"4096000\" "), std::string::npos) << fragment;
  EXPECT_NE(fragment.find(" sdval=\"75.0000\" "), std::string::npos) << fragment;
}

namespace {

std::string FileBytes(const std::wstring& path) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

std::vector<std::wstring> FolderNames(const std::wstring& folder) {
  std::vector<std::wstring> names;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(folder)))
    names.push_back(entry.path().filename().wstring());
  return names;
}

}  // namespace

// Ctrl+S and the system menu's entry offer all drives, and the selected one once there is one, in
// the three types; the file holds what the chosen type says.
TEST_F(ClipboardExportTest, SaveWritesAllDrivesOrTheSelectedOneInTheChosenType) {
  const testing_support::TTempFolder folder;
  std::vector<size_t> offered;
  toolkit::TFileChoice choice{folder / "alle.csv", 0};
  form->OnAskSaveFile = [&](const std::vector<toolkit::TFileType>& types) {
    offered.push_back(types.size());
    return std::optional(choice);
  };
  PressSave();
  const std::string csv = FileBytes(choice.Path);
  EXPECT_EQ(csv.rfind("\xEF\xBB\xBF" + runtime::Utf8FromWide(runtime::WideFromCp1252(kHeader)) +
                          "\r\nA;Diskette\r\nC;",
                      0),
            0u)
      << csv;
  EXPECT_NE(csv.find(";4096000;"), std::string::npos) << "numbers without grouping: " << csv;

  choice = {folder / "alle.json", 2};
  PressSave();
  const std::string json = FileBytes(choice.Path);
  EXPECT_EQ(json.rfind("[\n  {\n    \"letter\": \"A\",", 0), 0u) << json;
  EXPECT_NE(json.find("\"totalBytes\": 4096000,"), std::string::npos) << json;

  // The system menu's entry, for the selected drive.
  SelectItem(1);
  choice = {folder / "C.html", 4};
  const HMENU menu = GetSystemMenu(form->Handle(), FALSE);
  const UINT entry = GetMenuItemID(menu, GetMenuItemCount(menu) - 1);
  wchar_t text[64] = {};
  GetMenuStringW(menu, entry, text, 64, MF_BYCOMMAND);
  EXPECT_EQ(std::wstring(text), L"Speichern unter...\tStrg+S");
  SendMessageW(form->Handle(), WM_SYSCOMMAND, entry, 0);
  EXPECT_TRUE(testing_support::WaitForAnswers());
  const std::string html = FileBytes(choice.Path);
  EXPECT_NE(html.find("<html lang=\"de\""), std::string::npos) << html;
  EXPECT_NE(html.find(">C</td>"), std::string::npos) << html;
  EXPECT_EQ(html.find(">D</td>"), std::string::npos) << "the selected drive only";

  EXPECT_EQ(offered, (std::vector<size_t>{3, 3, 6}));
  EXPECT_EQ(FolderNames(folder.Path()).size(), 3u) << "nothing else left in the folder";
}

// The system's own dialog: CSV is offered first and chosen, and a name typed without an extension
// gets its extension.
TEST_F(ClipboardExportTest, TheSystemsSaveDialogStartsWithCsvAndAddsItsExtension) {
  const testing_support::TTempFolder folder;
  std::wstring offered;
  std::thread user([&] {
    HWND dialog = nullptr;
    for (int i = 0; i < 200 && !dialog; ++i, Sleep(50)) dialog = FindWindowW(L"#32770", L"Speichern unter");
    if (!dialog) return;
    wchar_t type[64] = {};
    GetDlgItemTextW(dialog, cmb1, type, 64);
    offered = type;
    SetDlgItemTextW(dialog, cmb13, (folder / "laufwerke").c_str());
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  PressSave();
  user.join();
  EXPECT_EQ(offered, L"Alle Laufwerke als CSV (*.csv)");
  EXPECT_EQ(FolderNames(folder.Path()), std::vector<std::wstring>{L"laufwerke.csv"});
  EXPECT_EQ(FileBytes(folder / "laufwerke.csv").rfind("\xEF\xBB\xBF", 0), 0u);
}

TEST_F(ClipboardExportTest, AFailedSaveSaysWhyAndLeavesTheFileAsItWas) {
  TApplicationRecorder recorder;
  const testing_support::TTempFolder folder;
  const std::wstring path = folder / "alt.csv";
  testing_support::WriteFile(path, "alt");
  form->OnAskSaveFile = [&](const std::vector<toolkit::TFileType>&) {
    return std::optional(toolkit::TFileChoice{path, 0});
  };
  {
    // Another program holds the file open and shares it with nobody.
    const runtime::TKernelHandle held(
        CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(held.Get(), INVALID_HANDLE_VALUE);
    PressSave();
  }
  ASSERT_EQ(recorder.Errors.size(), 1u);
  EXPECT_EQ(recorder.Errors[0].rfind(L"Die Datei kann nicht ersetzt werden: " + path + L" (Fehler ", 0), 0u)
      << runtime::Utf8FromWide(recorder.Errors[0]);
  EXPECT_EQ(FileBytes(path), "alt");
  EXPECT_EQ(FolderNames(folder.Path()), std::vector<std::wstring>{L"alt.csv"});
}
