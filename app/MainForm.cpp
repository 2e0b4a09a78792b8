#include "app/MainForm.h"

#include <commctrl.h>

#include <algorithm>

#include "about/aboutdlg.h"
#include "app/MainLayout.h"
#include "drive/DriveExport.h"
#include "drive/DriveInfo.h"
#include "drive/DriveList.h"
#include "drive/NumberFormat.h"
#include "resources/resource_ids.h"
#include "runtime/Errors.h"
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
const int kDriveImageSize = 32;
// Room beside the widest drive caption, so that none is cut short under its icon (96 dpi).
const int kDriveLabelMargin = 4;
const COLORREF kTransparent = RGB(255, 0, 255);
// How long a click waits for its drive on the window's thread before the answer is left to come
// later: a drive that answers within it fills the window at once, as it always has.
const DWORD kQuickAnswer = 50;

toolkit::TImageList LoadDriveImages(int dpi = toolkit::kDesignDpi) {
  // In the order of DriveImageIndex.
  const wchar_t* const images[] = {RES_DRIVE_REMOVABLE, RES_DRIVE_FIXED, RES_DRIVE_RAMDISK, RES_DRIVE_REMOTE,
                                   RES_DRIVE_CDROM};
  const int size = toolkit::Scale(kDriveImageSize, dpi);
  toolkit::TImageList list(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 5, 0));
  for (const wchar_t* name : images) {
    toolkit::TBitmap bitmap(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (bitmap && dpi != toolkit::kDesignDpi) bitmap.Reset(toolkit::ScaledBitmap(bitmap.Get(), dpi));
    if (!bitmap || ImageList_AddMasked(list.Get(), bitmap.Get(), kTransparent) < 0)
      throw runtime::Exception(std::wstring(L"Laufwerksbild fehlt: ") + name);
  }
  return list;
}

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

TMainForm::TMainForm(const drive::TDriveQueries& queries)
    : toolkit::TForm({SANDRIVO_WIDE(SANDRIVO_PRODUCT_NAME), kMainFormWidth, kMainFormHeight}),
      ImageList1(LoadDriveImages()),
      Panel1(controls::TBevel::None),
      DrivesView(
          LVS_ICON | LVS_ALIGNLEFT | LVS_AUTOARRANGE | LVS_NOLABELWRAP | LVS_SHOWSELALWAYS | LVS_SINGLESEL,
          WS_EX_CLIENTEDGE),
      InfoGrid(2, 10, 1, kInfoRowHeight),
      ProgressPanel(controls::TBevel::Raised),
      ButtonPanel(controls::TBevel::Raised),
      InfoBtn(RES_GLYPH_INFO, 2),
      CloseBtn(RES_GLYPH_CLOSE, 2),
      CopyInfoBtn(RES_GLYPH_COPYINFO, 1),
      CopyInfosBtn(RES_GLYPH_COPYINFOS, 1),
      HelpBtn(RES_GLYPH_HELP, 1),
      queries_(queries),
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
  // The drive types are asked while the windows are made.
  listing_.emplace(queries_);
  toolkit::TForm::Create();
  hints_.Create(Handle());
  layout_.Create(Handle(), Font(), hints_, Dpi());
  if (Dpi() != toolkit::kDesignDpi) ImageList1 = LoadDriveImages(Dpi());
  DrivesView.SetImages(ImageList1.Get());
  FormCreate();
}

void TMainForm::DpiChanged() {
  layout_.SetDpi(Handle(), Font(), Dpi());
  // The view takes the new pictures before the old ones go.
  toolkit::TImageList images = LoadDriveImages(Dpi());
  DrivesView.SetImages(images.Get());
  ImageList1 = std::move(images);
  DrivesView.FitIconSpacing(toolkit::Scale(kDriveLabelMargin, Dpi()));
  Resized();
  SetInfoGridMetrics();
}

void TMainForm::SetInfoGridMetrics() {
  InfoGrid.SetDefaultRowHeight(toolkit::Scale(kInfoRowHeight, Dpi()));
  const int width = (InfoGrid.ClientWidth() - InfoGrid.GridLineWidth()) / 2;
  InfoGrid.SetColWidth(0, width);
  InfoGrid.SetColWidth(1, InfoGrid.ColWidth(0));
  InfoGrid.SetRowHeight(0, toolkit::Scale(kInfoHeaderHeight, Dpi()));
}

void TMainForm::FormCreate() {
  drives_ = listing_ ? listing_->Take() : drive::ListedDrives(queries_);
  listing_.reset();
  for (const drive::TListedDrive& listed : drives_)
    DrivesView.Add(drive::DriveCaption(listed), DriveImageIndex(listed.Type));
  DrivesView.FitIconSpacing(toolkit::Scale(kDriveLabelMargin, Dpi()));
  SetInfoGridMetrics();
  Separator = drive::kFieldSeparator;
}

const drive::TListedDrive* TMainForm::DriveAt(int item) const {
  if (item < 0 || static_cast<size_t>(item) >= drives_.size()) return nullptr;
  return &drives_[static_cast<size_t>(item)];
}

TMainForm::TAnswer TMainForm::AnswerOf(const TQuestion& question, const drive::TDriveQueries& queries) {
  if (question.Table) return {{}, 0, drive::DrivesTableLines(question.Letters, question.Separator, queries)};
  if (question.Request == CopyRequest)
    return {{}, 0, drive::DriveInfoLines(question.Letters[0], question.Separator, queries)};
  const drive::TDriveInfo probe(question.Letters[0], queries);
  return {drive::DriveRows(probe), probe.VolumeFailed ? 0 : drive::RoundHalfToEven(probe.UsedPercent()), {}};
}

void TMainForm::Ask(TQuestion question) {
  const TRequest request = question.Request;
  std::optional<TPending>& pending = pending_[request];
  const unsigned sequence = ++sequence_;
  HWND window = Handle();
  pending.emplace(TPending{
      sequence, runtime::TDeadlineCall<TAnswer>([question = std::move(question),
                                                 &queries = queries_] { return AnswerOf(question, queries); },
                                                [window, request, sequence] {
                                                  PostMessageW(window, kProbeAnswered, request,
                                                               static_cast<LPARAM>(sequence));
                                                })});
  if (pending->Call.Wait(kQuickAnswer)) {
    Answered(request);
    return;
  }
  // The table keeps what it shows until the answer comes; the gauge shows nothing meanwhile.
  if (request == ShowRequest) SizeGauge.SetProgress(0);
  UpdateCursor();
}

void TMainForm::Answered(TRequest request) {
  TPending pending = std::move(*pending_[request]);
  pending_[request].reset();
  UpdateCursor();
  if (request == CopyRequest) {
    const TAnswer answer = *pending.Call.Take(0);
    toolkit::SetClipboardText(Handle(), answer.Lines.Text(), answer.Lines.WideText());
    return;
  }
  // The gauge is painted once, with the final value; whatever fails leaves it at 0.
  int used = 0;
  try {
    const TAnswer answer = *pending.Call.Take(0);
    InfoGrid.SetRowCount(static_cast<int>(answer.Report.size()) + 1);
    for (size_t i = 0; i < answer.Report.size(); ++i) {
      InfoGrid.SetCell(0, static_cast<int>(i) + 1, answer.Report[i].Name);
      InfoGrid.SetCell(1, static_cast<int>(i) + 1, answer.Report[i].Value);
    }
    used = answer.Used;
  } catch (...) {
    SizeGauge.SetProgress(0);
    throw;
  }
  SizeGauge.SetProgress(used);
}

void TMainForm::UpdateCursor() {
  const toolkit::TCursor cursor = pending_[ShowRequest] || pending_[CopyRequest] ? toolkit::TCursor::HourGlass
                                                                                 : toolkit::TCursor::Default;
  if (toolkit::ScreenCursor() != cursor) toolkit::SetScreenCursor(cursor);
}

void TMainForm::DrivesViewClick() {
  const int selected = DrivesView.Selected();
  if (selected < 0) return;
  if (const drive::TListedDrive* listed = DriveAt(selected)) Ask({ShowRequest, {listed->Letter}});
}

void TMainForm::CopyInfoBtnClick() {
  if (const drive::TListedDrive* listed = DriveAt(DrivesView.Selected()))
    Ask({CopyRequest, {listed->Letter}, false, Separator});
}

void TMainForm::CopyInfosBtnClick() {
  // The hour-glass from the start, also for drives that answer at once.
  toolkit::SetScreenCursor(toolkit::TCursor::HourGlass);
  try {
    CopyDrivesTable();
  } catch (...) {
    UpdateCursor();
    throw;
  }
  UpdateCursor();
}

void TMainForm::CopyDrivesTable() {
  std::vector<char> letters;
  for (const drive::TListedDrive& listed : drives_) letters.push_back(listed.Letter);
  Ask({CopyRequest, std::move(letters), true, Separator});
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
  // Enter shows the selected drive anew, as a click on it does; the dialog handling would take it.
  if (key == VK_RETURN && mods == 0 && GetFocus() == DrivesView.Handle()) return &TMainForm::DrivesViewClick;
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
  if (message == kProbeAnswered) {
    // Only the answer of the request under way; an earlier one that a later request replaced is
    // dropped.
    const std::optional<TPending>& pending = pending_[wParam == CopyRequest ? CopyRequest : ShowRequest];
    if (pending && static_cast<LPARAM>(pending->Sequence) == lParam)
      Answered(wParam == CopyRequest ? CopyRequest : ShowRequest);
    return 0;
  }
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->hwndFrom == DrivesView.Handle()) DrivesViewNotify(*header);
    return 0;
  }
  return TForm::HandleMessage(message, wParam, lParam);
}

}  // namespace app
