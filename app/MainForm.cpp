#include "app/MainForm.h"

#include <commctrl.h>
#include <dbt.h>

#include <algorithm>

#include "about/aboutdlg.h"
#include "app/DriveImages.h"
#include "app/MainLayout.h"
#include "app/PropertiesForm.h"
#include "drive/DriveExport.h"
#include "drive/DriveHtml.h"
#include "drive/DriveInfo.h"
#include "drive/DriveJson.h"
#include "drive/DriveList.h"
#include "drive/NumberFormat.h"
#include "resources/resource_ids.h"
#include "runtime/Errors.h"
#include "runtime/FileWrite.h"
#include "toolkit/Application.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Cursor.h"
#include "toolkit/Dpi.h"
#include "version.h"

namespace app {

namespace {

const wchar_t kSupportMail[] = L"support@quelix.de";
// Neither side of the splitter gets narrower than this (96 dpi).
const int kSplitterMinSize = 30;
// The table's rows and its header strip (96 dpi).
const int kInfoRowHeight = 19, kInfoHeaderHeight = 5;
// The header strip and nine empty rows, as before any drive is shown.
const int kEmptyInfoRows = 10;
// Room beside the widest drive caption, so that none is cut short under its icon (96 dpi).
const int kDriveLabelMargin = 4;
// The list is made again this long after the last device message of a burst.
const UINT_PTR kListTimer = 1;
const UINT kListQuietTime = 250;
// Ends the wait of a copy.
const UINT_PTR kCopyTimer = 2;
// The language of the clipboard's single-byte text: German, code page 1252.
const LCID kTextLocale = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);
// The system menu's entries for SaveAs and ShowProperties.
const UINT kSaveCommand = 0x0010;
const UINT kPropertiesCommand = 0x0020;

// What SaveAs offers, in the dialog's order: the entries for the selected drive last, as they
// are left out when none is selected.
const struct {
  const wchar_t* Name;
  const wchar_t* Extension;
  bool Table;
  TFileFormat Format;
} kSaveTypes[] = {
    {L"Alle Laufwerke als CSV", L"csv", true, TFileFormat::Csv},
    {L"Alle Laufwerke als HTML", L"html", true, TFileFormat::Html},
    {L"Alle Laufwerke als JSON", L"json", true, TFileFormat::Json},
    {L"Ausgewähltes Laufwerk als CSV", L"csv", false, TFileFormat::Csv},
    {L"Ausgewähltes Laufwerk als HTML", L"html", false, TFileFormat::Html},
    {L"Ausgewähltes Laufwerk als JSON", L"json", false, TFileFormat::Json},
};

}  // namespace

int DriveImageIndex(UINT driveType) {
  switch (driveType) {
    case DRIVE_REMOVABLE:
      return 0;
    case DRIVE_FIXED:
      return 1;
    case DRIVE_RAMDISK:
      return 2;
    case DRIVE_REMOTE:
      return 3;
    case DRIVE_CDROM:
      return 4;
    default:
      return -1;
  }
}

TMainForm::TMainForm(const drive::TDriveQueries& queries, const drive::TStorageQueries& storage)
    : toolkit::TForm({.Caption = SANDRIVO_WIDE(SANDRIVO_PRODUCT_NAME),
                      .Width = kMainFormWidth,
                      .Height = kMainFormHeight,
                      .MinWidth = kMainFormMinWidth,
                      .MinHeight = kMainFormMinHeight}),
      ImageList1(DriveImages(toolkit::kDesignDpi, toolkit::CurrentScheme())),
      Panel1(controls::TBevel::None),
      DrivesView(
          LVS_ICON | LVS_ALIGNLEFT | LVS_AUTOARRANGE | LVS_NOLABELWRAP | LVS_SHOWSELALWAYS | LVS_SINGLESEL,
          WS_EX_CLIENTEDGE),
      InfoGrid(2, kEmptyInfoRows, 1, kInfoRowHeight),
      ProgressPanel(controls::TBevel::Raised),
      ButtonPanel(controls::TBevel::Raised),
      InfoBtn(RES_GLYPH_INFO, 2),
      CloseBtn(RES_GLYPH_CLOSE, 2),
      CopyInfoBtn(RES_GLYPH_COPYINFO, 1),
      CopyInfosBtn(RES_GLYPH_COPYINFOS, 1),
      HelpBtn(RES_GLYPH_HELP, 1),
      queries_(queries),
      storage_(storage),
      layout_(MainLayout(*this)),
      chosenListWidth_(layout_.Width(DrivesView)) {
  KeyPreview = true;
  SizeGauge.SetForeColor(RGB(0, 0, 255));
  InfoBtn.OnClick = [this] { InfoBtnClick(); };
  CloseBtn.OnClick = [this] { CloseBtnClick(); };
  HelpBtn.OnClick = [this] { HelpBtnClick(); };
  CopyInfoBtn.OnClick = [this] { CopyInfoBtnClick(); };
  CopyInfosBtn.OnClick = [this] { CopyInfosBtnClick(); };
  Splitter.OnMove = [this](int delta) { return MoveSplitter(delta); };
  // What a screen reader names, with the keys of the buttons.
  const struct {
    controls::TToolButton& button;
    const wchar_t* name;
    const wchar_t* shortcut;
  } buttons[] = {{CopyInfoBtn, L"Information des ausgewählten Laufwerks kopieren", L"Strg+C"},
                 {CopyInfosBtn, L"Information aller Laufwerke kopieren", L"Strg+Umschalt+C"},
                 {HelpBtn, L"Hilfe", L"F1"},
                 {InfoBtn, L"Info", L"Strg+I"},
                 {CloseBtn, L"Beenden", L"Alt+F4"}};
  for (const auto& b : buttons) {
    b.button.AccessibleName = b.name;
    b.button.Shortcut = b.shortcut;
  }
  Panel1.AccessibleName = L"Laufwerke";
  ButtonPanel.AccessibleName = L"Werkzeugleiste";
  ProgressPanel.AccessibleName = L"Belegung";
  InfoGrid.AccessibleName = L"Laufwerksinformation";
  SizeGauge.AccessibleName = L"Belegter Speicherplatz";
}

void TMainForm::Create() {
  toolkit::TForm::Create();
  asker_.emplace(queries_, [window = Handle()](char letter) {
    PostMessageW(window, kDriveAnswered, static_cast<WPARAM>(static_cast<unsigned char>(letter)), 0);
  });
  hints_.Create(Handle());
  const HMENU systemMenu = GetSystemMenu(Handle(), FALSE);
  AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(systemMenu, MF_STRING, kPropertiesCommand, L"Eigenschaften...\tAlt+Eingabe");
  AppendMenuW(systemMenu, MF_STRING, kSaveCommand, L"Speichern unter...\tStrg+S");
  layout_.Create(Handle(), Font(), hints_, Dpi());
  if (Dpi() != toolkit::kDesignDpi) ImageList1 = DriveImages(Dpi(), toolkit::CurrentScheme());
  DrivesView.SetImages(ImageList1.Get());
  // The system's object for the list (it draws no text of its own) is named by the window's text.
  SetWindowTextW(DrivesView.Handle(), L"Laufwerke");
  // The keyboard starts in the drive list.
  ActiveControl = DrivesView.Handle();
  FormCreate();
}

void TMainForm::DpiChanged() {
  layout_.SetDpi(Handle(), Font(), Dpi());
  SetDriveImages();
  DrivesView.FitIconSpacing(toolkit::Scale(kDriveLabelMargin, Dpi()));
  Resized();
  SetInfoGridMetrics();
}

void TMainForm::ThemeChanged() {
  TForm::ThemeChanged();
  if (DrivesView.Handle()) SetDriveImages();
}

void TMainForm::SetDriveImages() {
  // The view takes the new pictures before the old ones go.
  toolkit::TImageList images = DriveImages(Dpi(), toolkit::CurrentScheme());
  DrivesView.SetImages(images.Get());
  ImageList1 = std::move(images);
}

void TMainForm::SetInfoGridMetrics() {
  InfoGrid.SetDefaultRowHeight(toolkit::Scale(kInfoRowHeight, Dpi()));
  const int width = (InfoGrid.ClientWidth() - InfoGrid.GridLineWidth()) / 2;
  InfoGrid.SetColWidth(0, width);
  InfoGrid.SetColWidth(1, InfoGrid.ColWidth(0));
  InfoGrid.SetRowHeight(0, toolkit::Scale(kInfoHeaderHeight, Dpi()));
}

void TMainForm::FormCreate() {
  SetInfoGridMetrics();
  Separator = drive::kFieldSeparator;
  // The drives that answer within a moment are listed at once, the others when they answer.
  asker_->AskAllTypes(AnswerPatience);
  for (char letter = 'A'; letter <= 'Z'; ++letter) DriveAnswered(letter);
}

void TMainForm::RefreshDriveList() {
  asker_->AskAllTypes(AnswerPatience);
  // The selected drive anew, its table refreshed when it answers; what the table shows is its own.
  if (const drive::TListedDrive* listed = DriveAt(DrivesView.Selected())) {
    show_ = AskProbe(listed->Letter, 0);
    UpdateCursor();
  }
}

const drive::TListedDrive* TMainForm::DriveAt(int item) const {
  if (item < 0 || static_cast<size_t>(item) >= drives_.size()) return nullptr;
  return &drives_[static_cast<size_t>(item)];
}

int TMainForm::ItemOf(char letter) const {
  for (size_t i = 0; i < drives_.size(); ++i)
    if (drives_[i].Letter == letter) return static_cast<int>(i);
  return -1;
}

TMainForm::TAwaited TMainForm::AskProbe(char letter, DWORD quickly) {
  const TAwaited awaited{letter, asker_->Counts(letter).Probes};
  // A request that joins a probe under way does not wait for it: that drive is slow.
  if (!asker_->AskProbe(letter) && quickly) asker_->WaitForProbe(letter, awaited.Probes, quickly);
  return awaited;
}

bool TMainForm::Answered(const TAwaited& awaited) const {
  return asker_->Counts(awaited.Letter).Probes > awaited.Probes;
}

void TMainForm::DriveAnswered(char letter) {
  if (const std::optional<UINT> type = asker_->Type(letter)) ListDrive(letter, *type);
  if (show_ && show_->Letter == letter && Answered(*show_)) {
    show_.reset();
    UpdateCursor();
    ShowProbe(letter);
  }
  if (copy_ && std::all_of(copy_->Drives.begin(), copy_->Drives.end(),
                           [this](const TAwaited& awaited) { return Answered(awaited); }))
    FinishCopy();
}

void TMainForm::ListDrive(char letter, UINT type) {
  const int item = ItemOf(letter);
  const bool listed = drive::IsListedDriveType(type);
  if (item >= 0 && (!listed || drives_[static_cast<size_t>(item)].Type != type)) {
    if (!listed) {
      // The selected drive goes: nothing is selected, and the table and gauge show nothing.
      if (DrivesView.Selected() == item) {
        show_.reset();
        UpdateCursor();
        ClearTable();
      }
      DrivesView.Delete(item);
      drives_.erase(drives_.begin() + item);
    } else {
      drives_[static_cast<size_t>(item)].Type = type;
      DrivesView.SetItem(item, drive::DriveCaption({letter, type}), DriveImageIndex(type));
    }
  } else if (item < 0 && listed) {
    // In letter order.
    const auto place =
        std::find_if(drives_.begin(), drives_.end(),
                     [letter](const drive::TListedDrive& other) { return other.Letter > letter; });
    const int index = static_cast<int>(place - drives_.begin());
    drives_.insert(place, {letter, type});
    DrivesView.Insert(index, drive::DriveCaption({letter, type}), DriveImageIndex(type));
    // The list that has the focus shows where it stands, also when its first drive comes late.
    if (GetFocus() == DrivesView.Handle() && DrivesView.Focused() < 0) DrivesView.SetFocused(0);
  } else {
    return;
  }
  DrivesView.FitIconSpacing(toolkit::Scale(kDriveLabelMargin, Dpi()));
  // A screen reader reads the list's items anew (not every list view says so of itself).
  NotifyWinEvent(EVENT_OBJECT_REORDER, DrivesView.Handle(), OBJID_CLIENT, CHILDID_SELF);
}

void TMainForm::ShowProbe(char letter) {
  // The gauge is painted once, with the final value; whatever fails leaves it at 0.
  const drive::TDriveAsker::TProbeAnswer answer = asker_->Probe(letter);
  if (answer.Error) {
    SizeGauge.SetProgress(0);
    std::rethrow_exception(answer.Error);
  }
  const std::vector<drive::TDriveRow> rows = drive::DriveRows(*answer.Probe);
  InfoGrid.SetRowCount(static_cast<int>(rows.size()) + 1);
  for (size_t i = 0; i < rows.size(); ++i) {
    InfoGrid.SetCell(0, static_cast<int>(i) + 1, rows[i].Name);
    InfoGrid.SetCell(1, static_cast<int>(i) + 1, rows[i].Value);
  }
  SizeGauge.SetProgress(answer.Probe->VolumeFailed ? 0 : drive::RoundHalfToEven(answer.Probe->UsedPercent()));
}

void TMainForm::ShowAsking(char letter) {
  // The drive's letter and the type the list knows, from the rows of a drive that has not answered.
  const int item = ItemOf(letter);
  const drive::TDriveInfo known(
      letter, drive::TTypeOnlyQueries(item >= 0 ? drives_[static_cast<size_t>(item)].Type : 0));
  std::vector<drive::TDriveRow> rows = drive::DriveRows(known);
  rows.push_back({L"Status", L"wird abgefragt ..."});
  InfoGrid.SetRowCount(static_cast<int>(rows.size()) + 1);
  for (size_t i = 0; i < rows.size(); ++i) {
    InfoGrid.SetCell(0, static_cast<int>(i) + 1, rows[i].Name);
    InfoGrid.SetCell(1, static_cast<int>(i) + 1, rows[i].Value);
  }
  SizeGauge.SetProgress(0);
}

void TMainForm::ClearTable() {
  // Rows beyond the count go with their texts: the first one is emptied by hand.
  InfoGrid.SetRowCount(2);
  InfoGrid.SetCell(0, 1, L"");
  InfoGrid.SetCell(1, 1, L"");
  InfoGrid.SetRowCount(kEmptyInfoRows);
  SizeGauge.SetProgress(0);
}

void TMainForm::FinishCopy() {
  KillTimer(Handle(), kCopyTimer);
  const TCopy copy = std::move(*copy_);
  copy_.reset();
  UpdateCursor();
  std::vector<std::shared_ptr<const drive::TDriveInfo>> probes;
  for (const TAwaited& awaited : copy.Drives) {
    if (!Answered(awaited)) {
      auto late = std::make_shared<drive::TDriveInfo>(
          awaited.Letter, drive::TTypeOnlyQueries(asker_->Type(awaited.Letter).value_or(0)));
      late->TimedOut = true;
      probes.push_back(std::move(late));
      continue;
    }
    drive::TDriveAsker::TProbeAnswer answer = asker_->Probe(awaited.Letter);
    if (answer.Error) std::rethrow_exception(answer.Error);
    probes.push_back(std::move(answer.Probe));
  }
  std::vector<const drive::TDriveInfo*> order;
  for (const auto& probe : probes) order.push_back(probe.get());
  const drive::TExportTable table =
      copy.Table ? drive::DrivesTable(order) : drive::DriveInfoTable(*order.front());
  if (copy.File) {
    std::string bytes;
    switch (copy.File->Format) {
      case TFileFormat::Csv:
        bytes = drive::CsvText(table, runtime::UserNumberSeparators().Decimal);
        break;
      case TFileFormat::Html:
        bytes = drive::HtmlDocument(table, copy.Table ? L"Laufwerke" : L"Laufwerksinformation");
        break;
      case TFileFormat::Json:
        bytes = drive::DrivesJson(order);
        break;
    }
    runtime::WriteFileReplacing(copy.File->Path, bytes);
    return;
  }
  const drive::TExportLines lines = drive::ExportLines(table, Separator);
  if (!toolkit::SetClipboardContent(Handle(),
                                    {lines.Text(), lines.WideText(), kTextLocale, drive::HtmlTable(table)},
                                    copy.ClipboardSequence))
    throw toolkit::ENotice(
        L"Nicht kopiert: In die Zwischenablage wurde inzwischen etwas anderes kopiert, das erhalten bleibt.");
}

void TMainForm::UpdateCursor() {
  const toolkit::TCursor cursor = show_ || copy_ ? toolkit::TCursor::HourGlass : toolkit::TCursor::Default;
  if (toolkit::ScreenCursor() != cursor) toolkit::SetScreenCursor(cursor);
}

void TMainForm::DrivesViewClick() {
  const drive::TListedDrive* listed = DriveAt(DrivesView.Selected());
  if (!listed) return;
  show_ = AskProbe(listed->Letter, AnswerPatience);
  if (Answered(*show_)) {
    const char letter = show_->Letter;
    show_.reset();
    UpdateCursor();
    ShowProbe(letter);
    return;
  }
  // Never another drive's figures while this one is asked.
  ShowAsking(listed->Letter);
  UpdateCursor();
}

void TMainForm::CopyInfoBtnClick() {
  Copy(false, std::nullopt);
}

void TMainForm::CopyInfosBtnClick() {
  // The hour-glass from the start, also for drives that answer at once.
  toolkit::SetScreenCursor(toolkit::TCursor::HourGlass);
  try {
    Copy(true, std::nullopt);
  } catch (...) {
    UpdateCursor();
    throw;
  }
  UpdateCursor();
}

void TMainForm::Copy(bool table, std::optional<TSaveTo> file) {
  TCopy copy{{}, table, GetClipboardSequenceNumber(), std::move(file)};
  if (table) {
    for (const drive::TListedDrive& listed : drives_) copy.Drives.push_back(AskProbe(listed.Letter, 0));
    // The drives that answer within a moment, together.
    const DWORD start = GetTickCount();
    for (const TAwaited& awaited : copy.Drives) {
      const DWORD waited = GetTickCount() - start;
      asker_->WaitForProbe(awaited.Letter, awaited.Probes,
                           waited < AnswerPatience ? AnswerPatience - waited : 0);
    }
  } else {
    const drive::TListedDrive* listed = DriveAt(DrivesView.Selected());
    if (!listed) return;
    copy.Drives.push_back(AskProbe(listed->Letter, AnswerPatience));
  }
  copy_ = std::move(copy);
  if (std::all_of(copy_->Drives.begin(), copy_->Drives.end(),
                  [this](const TAwaited& awaited) { return Answered(awaited); })) {
    FinishCopy();
    return;
  }
  SetTimer(Handle(), kCopyTimer, CopyPatience, nullptr);
  UpdateCursor();
}

void TMainForm::SaveAs() {
  // The types for the selected drive come last in kSaveTypes: an offered type's index is its own.
  const bool selected = DriveAt(DrivesView.Selected()) != nullptr;
  std::vector<toolkit::TFileType> types;
  for (const auto& type : kSaveTypes)
    if (type.Table || selected) types.push_back({type.Name, type.Extension});
  const std::optional<toolkit::TFileChoice> choice =
      OnAskSaveFile ? OnAskSaveFile(types)
                    : toolkit::AskSaveFile(Handle(), L"Speichern unter", types, 0, L"Laufwerke");
  if (!choice || choice->Type >= types.size()) return;
  const auto& type = kSaveTypes[choice->Type];
  Copy(type.Table, TSaveTo{choice->Path, type.Format});
}

void TMainForm::DrivesViewEnter() {
  // The drive with the focus mark when none is selected yet (Tab, then Enter): selecting it shows it.
  if (DrivesView.Selected() < 0 && DrivesView.Focused() >= 0) {
    DrivesView.Select(DrivesView.Focused());
    return;
  }
  DrivesViewClick();
}

void TMainForm::ShowProperties() {
  const drive::TListedDrive* listed = DriveAt(DrivesView.Selected());
  if (!listed) return;
  TPropertiesForm properties(Handle(), *listed, queries_, storage_);
  properties.Patience = CopyPatience;
  properties.Create();
  properties.ShowModal();
}

void TMainForm::InfoBtnClick() {
  about::TAboutBox box(Handle());
  box.Create();
  box.AddInfoPages(about::InfoAdds);
  box.MailLabel.SetCaption(kSupportMail);
  box.ShowModal();
}

void TMainForm::CloseBtnClick() {
  Close();
}

void TMainForm::HelpBtnClick() {
  toolkit::Application().HelpCommand(HELP_CONTENTS, 0);
}

void TMainForm::FormKeyDown(WORD& key, toolkit::TShiftState shift) {
  const TCommand command = KeyCommand(key, shift);
  if (!command) return;
  key = 0;
  (this->*command)();
}

TMainForm::TCommand TMainForm::KeyCommand(WORD key, toolkit::TShiftState shift) const {
  const toolkit::TShiftState mods = shift & (toolkit::ssShift | toolkit::ssCtrl | toolkit::ssAlt);
  if (key == VK_F1) return &TMainForm::HelpBtnClick;
  if ((key == 'C' || key == VK_INSERT) && mods == toolkit::ssCtrl) return &TMainForm::CopyInfoBtnClick;
  if (key == 'C' && mods == (toolkit::ssCtrl | toolkit::ssShift)) return &TMainForm::CopyInfosBtnClick;
  if (key == 'I' && mods == toolkit::ssCtrl) return &TMainForm::InfoBtnClick;
  if (key == 'S' && mods == toolkit::ssCtrl) return &TMainForm::SaveAs;
  if (key == VK_F5 && mods == 0) return &TMainForm::RefreshDriveList;
  if (key == VK_RETURN && mods == toolkit::ssAlt) return &TMainForm::ShowProperties;
  // Enter shows the selected drive anew, as a click on it does, or selects the one with the focus mark;
  // the dialog handling would take it.
  if (key == VK_RETURN && mods == 0 && GetFocus() == DrivesView.Handle()) return &TMainForm::DrivesViewEnter;
  return nullptr;
}

void TMainForm::Resized() {
  // A minimised window has no client area: the layout waits for the restored size.
  if (IsIconic(Handle())) return;
  // The splitter's limits hold at every size: the drive list gives way first, and takes the width
  // the user chose back when the window grows again. While the DPI changes the layout still has
  // the old one: DpiChanged comes back here.
  if (Panel1.Handle() && layout_.Dpi() == Dpi()) {
    RECT client;
    GetClientRect(Handle(), &client);
    const int least = toolkit::Scale(kSplitterMinSize, Dpi());
    const int widest = client.right - layout_.Width(Splitter) - least;
    const int width = std::max(least, std::min(toolkit::Scale(chosenListWidth_, Dpi()), widest));
    if (layout_.Width(DrivesView) != width) layout_.SetWidth(DrivesView, width);
  }
  layout_.Realign(Handle());
}

int TMainForm::MoveSplitter(int delta) {
  RECT panel;
  GetClientRect(Panel1.Handle(), &panel);
  const int old = layout_.Width(DrivesView);
  const int least = toolkit::Scale(kSplitterMinSize, Dpi());
  const int widest = panel.right - layout_.Width(Splitter) - least;
  const int width = std::clamp(old + delta, least, std::max(least, widest));
  if (width == old) return 0;
  layout_.SetWidth(DrivesView, width);
  chosenListWidth_ = toolkit::Unscale(width, Dpi());
  layout_.Realign(Handle());
  return width - old;
}

void TMainForm::DrivesViewNotify(const NMHDR& header) {
  switch (header.code) {
    case LVN_ITEMCHANGED: {
      // An item that becomes selected and focused, by a key or by a press, is shown at once.
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      const UINT current = LVIS_SELECTED | LVIS_FOCUSED;
      if (!(change.uChanged & LVIF_STATE) || (change.uNewState & current) != current ||
          (change.uOldState & current) == current)
        return;
      if (DrivesView.InPress()) shownAtPress_ = DrivesView.Presses();
      DrivesViewClick();
      return;
    }
    case NM_CLICK:
      // A click that changed the selection showed the drive already; one on the selected drive
      // shows it anew.
      if (shownAtPress_ != DrivesView.Presses()) DrivesViewClick();
      return;
    case NM_SETFOCUS:
      // Reached by a key, the list shows where it stands: the focus mark on an item.
      if (DrivesView.InPress()) return;
      SendMessageW(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
      if (DrivesView.Focused() < 0 && DrivesView.Count() > 0) DrivesView.SetFocused(0);
      return;
    default:
      return;
  }
}

LRESULT TMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kDriveAnswered:
      DriveAnswered(static_cast<char>(wParam));
      return 0;
    case WM_DEVICECHANGE:
      // A volume came or went, or only "something changed": the list is made again once the
      // messages of one event have all come.
      if (wParam == DBT_DEVNODES_CHANGED ||
          ((wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE) && lParam &&
           reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam)->dbch_devicetype == DBT_DEVTYP_VOLUME))
        SetTimer(Handle(), kListTimer, kListQuietTime, nullptr);
      return TRUE;
    case WM_TIMER:
      if (wParam == kCopyTimer) {
        KillTimer(Handle(), kCopyTimer);
        if (copy_) FinishCopy();
        return 0;
      }
      if (wParam != kListTimer) break;
      KillTimer(Handle(), kListTimer);
      RefreshDriveList();
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == kPropertiesCommand) {
        ShowProperties();
        return 0;
      }
      if ((wParam & 0xFFF0) != kSaveCommand) break;
      SaveAs();
      return 0;
    case WM_CONTEXTMENU:
      // The drive list's menu, by the right button, Shift+F10 or the menu key.
      if (!DriveAt(DrivesView.Selected())) break;
      if (const std::optional<bool> chosen = DriveListMenu(Handle(), DrivesView.Handle(), lParam)) {
        if (*chosen) ShowProperties();
        return 0;
      }
      break;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->code == NM_CUSTOMDRAW) break;  // the form hands it to the view
      if (header->hwndFrom == DrivesView.Handle()) DrivesViewNotify(*header);
      return 0;
    }
    default:
      break;
  }
  return TForm::HandleMessage(message, wParam, lParam);
}

}  // namespace app
