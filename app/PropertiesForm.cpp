#include "app/PropertiesForm.h"

#include <oleacc.h>

#include <algorithm>

#include "drive/DetailFields.h"
#include "drive/DriveExport.h"
#include "drive/DriveHtml.h"
#include "drive/DriveInfo.h"
#include "resources/resource_ids.h"
#include "toolkit/Clipboard.h"
#include "toolkit/Dpi.h"
#include "toolkit/PopupMenu.h"

namespace app {

namespace {

// The client area at 96 dpi: room for the longest names and a GUID path beside them.
const int kPropertiesWidth = 520, kPropertiesHeight = 440;
// The table's rows and its header strip, and the names' column (96 dpi).
const int kRowHeight = 19, kHeaderHeight = 5, kNameWidth = 210;
const UINT_PTR kPatienceTimer = 1;

const wchar_t kStatus[] = L"Status";
const UINT kMenuProperties = 1;

}  // namespace

std::vector<toolkit::TLayoutRow> PropertiesLayout(TPropertiesForm& f) {
  using toolkit::TAlign;
  // clang-format off
  return {
    // Component        Parent           Align            Left  Top  Width Height Border Hint  Font
    {&f.InfoGrid,       nullptr,         TAlign::Client,    0,    0,  520,  399,   0, L"", {}},
    {&f.ButtonPanel,    nullptr,         TAlign::Bottom,    0,  399,  520,   41,   1, L"", {}},
    {&f.OKButton,       &f.ButtonPanel,  TAlign::None,    221,    7,   77,   27,   0, L"", {L"Microsoft Sans Serif", 11, true}},
  };
  // clang-format on
}

std::optional<bool> DriveListMenu(HWND owner, HWND list, LPARAM point) {
  // Parents pass the message on naming themselves, not the list (Wine): the point or the focus tells.
  const bool keyboard = toolkit::IsKeyboardMenuPoint(point);
  const POINT at = keyboard ? toolkit::KeyboardMenuPoint(list)
                            : POINT{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
  if ((keyboard ? GetFocus() : WindowFromPoint(at)) != list) return std::nullopt;
  toolkit::TPopupMenu menu;
  menu.Add(kMenuProperties, L"&Eigenschaften\tAlt+Eingabe", true);
  return menu.Track(owner, at) == kMenuProperties;
}

std::wstring PropertiesCaption(char letter) {
  return L"Eigenschaften von " + std::wstring(1, static_cast<wchar_t>(letter)) + L":";
}

std::vector<drive::TDriveRow> PropertyRows(const drive::TListedDrive& listed, const drive::TDriveInfo* probe,
                                           bool timedOut, const runtime::TNumberSeparators& numbers) {
  const std::vector<drive::TDriveField> fields = drive::PropertyFields();
  if (probe) {
    std::vector<drive::TDriveRow> rows = drive::DriveRows(*probe, numbers, fields);
    // Only the letter and the type: Windows answered none of the queries.
    if (rows.size() <= 2) rows.push_back({kStatus, L"Windows gibt keine Auskunft"});
    return rows;
  }
  // The letter and the type the list knows, as for a drive that has not answered.
  std::vector<drive::TDriveRow> rows = drive::DriveRows(
      drive::TDriveInfo(listed.Letter, drive::TTypeOnlyQueries(listed.Type)), numbers, fields);
  rows.push_back({kStatus, timedOut ? L"hat nicht rechtzeitig geantwortet" : L"wird abgefragt ..."});
  return rows;
}

TPropertiesForm::TPropertiesForm(HWND owner, drive::TListedDrive drive, const drive::TDriveQueries& queries,
                                 const drive::TStorageQueries& storage)
    : toolkit::TForm({L"", kPropertiesWidth, kPropertiesHeight, toolkit::TFormBorder::Dialog}, owner),
      InfoGrid(2, 2, 1, kRowHeight),
      ButtonPanel(controls::TBevel::Raised),
      OKButton(RES_GLYPH_OK),
      drive_(drive),
      queries_(queries),
      storage_(storage),
      layout_(PropertiesLayout(*this)) {
  KeyPreview = true;
  InfoGrid.AccessibleName = L"Laufwerkseigenschaften";
  ButtonPanel.AccessibleName = L"Schaltflächen";
}

void TPropertiesForm::Create() {
  toolkit::TForm::Create();
  SetWindowTextW(Handle(), PropertiesCaption(drive_.Letter).c_str());
  hints_.Create(Handle());
  layout_.Create(Handle(), Font(), hints_, Dpi());
  ActiveControl = InfoGrid.Handle();
  FormCreate();
}

void TPropertiesForm::FormCreate() {
  SetInfoGridMetrics();
  call_.emplace(drive::AskDetails(drive_.Letter, queries_, storage_,
                                  [window = Handle()] { PostMessageW(window, kDetailsAnswered, 0, 0); }));
  // A drive that answers at once opens with its rows; any other shows that it is asked.
  if (call_->Wait(AnswerPatience)) {
    Settle(false);
    return;
  }
  ShowRows(PropertyRows(drive_, nullptr, false, runtime::UserNumberSeparators()));
  SetTimer(Handle(), kPatienceTimer, Patience, nullptr);
}

void TPropertiesForm::Settle(bool timeOver) {
  if (!call_ || (!timeOver && !call_->Wait(0))) return;
  KillTimer(Handle(), kPatienceTimer);
  drive::TDetailsCall call = std::move(*call_);
  call_.reset();
  // The error that making the probe raised, if any, is thrown here, once.
  const std::optional<std::shared_ptr<const drive::TDriveInfo>> probe = call.Take(0);
  ShowRows(PropertyRows(drive_, probe ? probe->get() : nullptr, !probe, runtime::UserNumberSeparators()));
  // A screen reader reads the table anew.
  NotifyWinEvent(EVENT_OBJECT_REORDER, InfoGrid.Handle(), OBJID_CLIENT, CHILDID_SELF);
}

void TPropertiesForm::ShowRows(std::vector<drive::TDriveRow> rows) {
  rows_ = std::move(rows);
  InfoGrid.SetRowCount(static_cast<int>(rows_.size()) + 1);
  for (size_t i = 0; i < rows_.size(); ++i) {
    InfoGrid.SetCell(0, static_cast<int>(i) + 1, rows_[i].Name);
    InfoGrid.SetCell(1, static_cast<int>(i) + 1, rows_[i].Value);
  }
  FitColumns();
}

void TPropertiesForm::SetInfoGridMetrics() {
  InfoGrid.SetDefaultRowHeight(toolkit::Scale(kRowHeight, Dpi()));
  InfoGrid.SetRowHeight(0, toolkit::Scale(kHeaderHeight, Dpi()));
  FitColumns();
}

void TPropertiesForm::FitColumns() {
  // The values take what the names leave, beside the scroll bar when the rows need one.
  const int names = toolkit::Scale(kNameWidth, Dpi());
  InfoGrid.SetColWidth(0, names);
  InfoGrid.SetColWidth(1, std::max(0, InfoGrid.ClientWidth() - names - InfoGrid.GridLineWidth()));
}

void TPropertiesForm::DpiChanged() {
  layout_.SetDpi(Handle(), Font(), Dpi());
  SetInfoGridMetrics();
}

void TPropertiesForm::CopyClick() {
  const drive::TExportTable table = drive::RowsTable(rows_);
  const drive::TExportLines lines = drive::ExportLines(table, drive::kFieldSeparator);
  toolkit::SetClipboardContent(
      Handle(), {lines.Text(), lines.WideText(), drive::kExportTextLocale, drive::HtmlTable(table)});
}

void TPropertiesForm::FormKeyDown(WORD& key, toolkit::TShiftState shift) {
  const toolkit::TShiftState mods = shift & (toolkit::ssShift | toolkit::ssCtrl | toolkit::ssAlt);
  if ((key == 'C' || key == VK_INSERT) && mods == toolkit::ssCtrl) {
    key = 0;
    CopyClick();
  }
}

toolkit::TAccElement TPropertiesForm::AccDescribe(const toolkit::TAccPath& path) const {
  toolkit::TAccElement dialog = TForm::AccDescribe(path);
  dialog.Role = ROLE_SYSTEM_DIALOG;
  return dialog;
}

LRESULT TPropertiesForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kDetailsAnswered:
      Settle(false);
      return 0;
    case WM_TIMER:
      if (wParam != kPatienceTimer) break;
      Settle(true);
      return 0;
    case WM_WINDOWPOSCHANGED:
      // A screen reader reads a dialog when it has opened.
      if (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW)
        NotifyWinEvent(EVENT_SYSTEM_DIALOGSTART, Handle(), OBJID_WINDOW, CHILDID_SELF);
      break;
    default:
      break;
  }
  return TForm::HandleMessage(message, wParam, lParam);
}

}  // namespace app
