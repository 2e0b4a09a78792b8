// The main window: the drive list, the information table of the selected drive, its used-space
// gauge and the tool buttons.
#pragma once

#include <optional>
#include <vector>

#include "app/drive/DriveList.h"
#include "app/drive/DriveQueries.h"
#include "controls/Gauges.h"
#include "controls/Panel.h"
#include "controls/Splitter.h"
#include "controls/StringGrid.h"
#include "controls/ToolButton.h"
#include "toolkit/Form.h"
#include "toolkit/Handles.h"
#include "toolkit/Hints.h"
#include "toolkit/Layout.h"
#include "toolkit/ListView.h"

namespace app {

// Index in the drive image list of a listed drive type, or -1 for a type that is not listed.
int DriveImageIndex(UINT driveType);

class TMainForm : public tk::TForm {
 public:
  explicit TMainForm(const TDriveQueries& queries = SystemDriveQueries());
  // Creates the window and its components, then lists the drives.
  void Create() override;

  // Components, in the order the window declares them.
  tk::TImageList ImageList1;
  controls::TPanel Panel1;
  tk::TListView DrivesView;
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
  void FormKeyDown(WORD& key, tk::TShiftState shift);

 protected:
  void KeyDown(WORD& key, tk::TShiftState shift) override { FormKeyDown(key, shift); }
  void Resized() override;
  void DpiChanged() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CopyDrivesTable();
  // The command of a key of the window (Ctrl+C, Ctrl+Ins, Ctrl+Shift+C, Ctrl+I, F1, Enter on the
  // drive list), or none.
  using TCommand = void (TMainForm::*)();
  TCommand KeyCommand(WORD key, tk::TShiftState shift) const;
  void DrivesViewNotify(const NMHDR& header);
  int MoveSplitter(int delta);
  // The listed drive under a list item, or null.
  const TListedDrive* DriveAt(int item) const;
  // Fills the table with the report of the drive under a list item; returns the used space in
  // whole percent, 0 when the volume did not answer.
  int ShowDriveReport(int item);
  // Row heights at the form's DPI and the column rule: two equal columns filling the table.
  void SetInfoGridMetrics();

  const TDriveQueries& queries_;
  tk::TLayout layout_;
  tk::THints hints_;
  // The drive list under way while Create makes the windows.
  std::optional<TDriveListing> listing_;
  // The drives of DrivesView, in item order.
  std::vector<TListedDrive> drives_;
  // The drive list's width as the user last chose it with the splitter (96 dpi): the window gives
  // it as much of that as its size allows.
  int chosenListWidth_;
  char Separator = 0;
  // The press of the drive list whose selection change showed its drive: its click shows nothing more.
  unsigned shownAtPress_ = ~0u;
};

}  // namespace app
