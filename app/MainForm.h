// The main window: the drive list, the information table of the selected drive, its used-space
// gauge and the tool buttons.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/Gauges.h"
#include "controls/Panel.h"
#include "controls/Splitter.h"
#include "controls/StringGrid.h"
#include "controls/ToolButton.h"
#include "drive/DriveExport.h"
#include "drive/DriveList.h"
#include "drive/DriveQueries.h"
#include "drive/DriveReport.h"
#include "runtime/DeadlineCall.h"
#include "toolkit/Form.h"
#include "toolkit/Handles.h"
#include "toolkit/Hints.h"
#include "toolkit/Layout.h"
#include "toolkit/ListView.h"

namespace app {

// Index in the drive image list of a listed drive type, or -1 for a type that is not listed.
int DriveImageIndex(UINT driveType);

class TMainForm : public toolkit::TForm {
 public:
  explicit TMainForm(const drive::TDriveQueries& queries = drive::SystemDriveQueries());
  // Posted to the window by a probe that did not answer at once, when it has: wParam the kind of
  // request (TRequest), lParam its sequence number.
  static constexpr UINT kProbeAnswered = WM_APP + 1;
  // Creates the window and its components, then lists the drives.
  void Create() override;

  // Components, in the order the window declares them.
  toolkit::TImageList ImageList1;
  controls::TPanel Panel1;
  toolkit::TListView DrivesView;
  controls::TStringGrid InfoGrid;
  controls::TPanel ProgressPanel;
  controls::TPanel ButtonPanel;
  controls::TSplitter Splitter;
  controls::TToolButton InfoBtn;
  controls::TToolButton CloseBtn;
  controls::TToolButton CopyInfoBtn;
  controls::TToolButton CopyInfosBtn;
  controls::TGauge SizeGauge;
  controls::TToolButton HelpBtn;

  void FormCreate();
  void DrivesViewClick();
  void InfoBtnClick();
  void CloseBtnClick();
  void HelpBtnClick();
  void CopyInfoBtnClick();
  void CopyInfosBtnClick();
  void FormKeyDown(WORD& key, toolkit::TShiftState shift);

 protected:
  void KeyDown(WORD& key, toolkit::TShiftState shift) override { FormKeyDown(key, shift); }
  void Resized() override;
  void DpiChanged() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CopyDrivesTable();
  // The command of a key of the window (Ctrl+C, Ctrl+Ins, Ctrl+Shift+C, Ctrl+I, F1, Enter on the
  // drive list), or none.
  using TCommand = void (TMainForm::*)();
  TCommand KeyCommand(WORD key, toolkit::TShiftState shift) const;
  void DrivesViewNotify(const NMHDR& header);
  int MoveSplitter(int delta);
  // The listed drive under a list item, or null.
  const drive::TListedDrive* DriveAt(int item) const;
  // What a request's probe hands back: for a click the report for the table and the used share
  // for the gauge, for a copy the text for the clipboard.
  struct TAnswer {
    std::vector<drive::TDriveRow> Report;
    int Used = 0;  // in whole percent, 0 when the volume did not answer
    drive::TExportLines Lines;
  };
  enum TRequest : WPARAM { ShowRequest, CopyRequest };
  // A request's probe under way apart from the window's thread. A later request of the same kind
  // takes its place; the earlier answer is then dropped.
  struct TPending {
    unsigned Sequence;
    runtime::TDeadlineCall<TAnswer> Call;
  };
  // What a request asks, answered on the probe's thread: a click the report of its drive, a copy
  // the lines of the selected drive or the table of all drives.
  struct TQuestion {
    TRequest Request;
    std::vector<char> Letters;
    bool Table = false;
    char Separator = 0;
  };
  static TAnswer AnswerOf(const TQuestion& question, const drive::TDriveQueries& queries);
  // Asks apart from the window's thread. An answer that comes within a moment is used at once;
  // otherwise it comes back with kProbeAnswered, and the window shows the hour-glass until then.
  void Ask(TQuestion question);
  // Uses the answer of the request under way: fills table and gauge, or the clipboard.
  void Answered(TRequest request);
  // The hour-glass while any request waits.
  void UpdateCursor();
  // Row heights at the form's DPI and the column rule: two equal columns filling the table.
  void SetInfoGridMetrics();

  const drive::TDriveQueries& queries_;
  toolkit::TLayout layout_;
  toolkit::THints hints_;
  // The drive list under way while Create makes the windows.
  std::optional<drive::TDriveListing> listing_;
  // The drives of DrivesView, in item order.
  std::vector<drive::TListedDrive> drives_;
  // The drive list's width as the user last chose it with the splitter (96 dpi): the window gives
  // it as much of that as its size allows.
  int chosenListWidth_;
  char Separator = 0;
  // The press of the drive list whose selection change showed its drive: its click shows nothing more.
  unsigned shownAtPress_ = ~0u;
  unsigned sequence_ = 0;
  std::optional<TPending> pending_[2];  // by TRequest
};

}  // namespace app
