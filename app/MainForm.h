// The main window: the drive list, the information table of the selected drive, its used-space
// gauge and the tool buttons.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/Gauges.h"
#include "controls/Panel.h"
#include "controls/Splitter.h"
#include "controls/StringGrid.h"
#include "controls/ToolButton.h"
#include "drive/DriveAsker.h"
#include "drive/DriveExport.h"
#include "drive/DriveList.h"
#include "drive/DriveQueries.h"
#include "drive/DriveReport.h"
#include "drive/StorageQueries.h"
#include "toolkit/FileDialog.h"
#include "toolkit/Form.h"
#include "toolkit/Handles.h"
#include "toolkit/Hints.h"
#include "toolkit/Layout.h"
#include "toolkit/ListView.h"

namespace app {

// Index in the drive image list of a listed drive type, or -1 for a type that is not listed.
int DriveImageIndex(UINT driveType);

// What SaveAs writes: CSV (UTF-8), a small HTML document, or the console report's JSON.
enum class TFileFormat { Csv, Html, Json };

class TMainForm : public toolkit::TForm {
 public:
  explicit TMainForm(const drive::TDriveQueries& queries = drive::SystemDriveQueries(),
                     const drive::TStorageQueries& storage = drive::SystemStorageQueries());
  // Posted to the window by a drive's thread when the drive has answered: wParam its letter.
  static constexpr UINT kDriveAnswered = WM_APP + 1;
  // Creates the window and its components, then lists the drives.
  void Create() override;
  // Makes the drive list again from A to Z (a device came or went, F5): new drives appear in their
  // place, gone ones disappear, the selected drive is shown anew while it exists.
  void RefreshDriveList();

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
  // Enter in the drive list: shows the selected drive anew, or selects the one with the focus mark.
  void DrivesViewEnter();
  void InfoBtnClick();
  void CloseBtnClick();
  void HelpBtnClick();
  void CopyInfoBtnClick();
  void CopyInfosBtnClick();
  // Ctrl+S and the system menu's "Speichern unter...": all drives or the selected one as CSV, HTML or
  // JSON, in the file and type the user chooses.
  void SaveAs();
  // Alt+Enter, the drive list's menu and the system menu's "Eigenschaften...": the selected drive's
  // properties in a dialog.
  void ShowProperties();
  void FormKeyDown(WORD& key, toolkit::TShiftState shift);

  // How long a copy or a save waits for its drives (milliseconds): as long as the console report
  // waits by default.
  UINT CopyPatience = 15000;
  // How long the start, a click or a copy waits for a drive on the window's thread before its answer
  // is left to come later: a drive that answers within it fills the window at once.
  DWORD AnswerPatience = 50;
  // Asks where to save which of the types; the system's dialog unless set.
  std::function<std::optional<toolkit::TFileChoice>(const std::vector<toolkit::TFileType>& types)>
      OnAskSaveFile;

 protected:
  void KeyDown(WORD& key, toolkit::TShiftState shift) override { FormKeyDown(key, shift); }
  void Resized() override;
  void DpiChanged() override;
  // The drive images in the scheme's colours.
  void ThemeChanged() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  struct TSaveTo {
    std::wstring Path;
    TFileFormat Format;
  };
  // Asks for the probes of the selected drive or of all drives, for the clipboard or a file.
  void Copy(bool table, std::optional<TSaveTo> file);
  // The command of a key of the window (Ctrl+C, Ctrl+Ins, Ctrl+Shift+C, Ctrl+I, F1, Enter on the
  // drive list), or none.
  using TCommand = void (TMainForm::*)();
  TCommand KeyCommand(WORD key, toolkit::TShiftState shift) const;
  void DrivesViewNotify(const NMHDR& header);
  int MoveSplitter(int delta);
  // The listed drive under a list item, or null; the item of a letter, or -1.
  const drive::TListedDrive* DriveAt(int item) const;
  int ItemOf(char letter) const;
  // A drive's probe that a request waits for: an answer that comes after the request (or the
  // answer of a probe under way when it was made, which it joins).
  struct TAwaited {
    char Letter;
    unsigned Probes;  // the drive's probe answers when the request was made
  };
  // A copy under way: the selected drive's lines or the table of all drives, for the clipboard
  // (unless the clipboard has changed since it was asked for) or a file.
  struct TCopy {
    std::vector<TAwaited> Drives;
    bool Table = false;
    DWORD ClipboardSequence = 0;
    std::optional<TSaveTo> File{};
  };
  // Asks for the drive's probe, waiting at most quickly milliseconds for the answer of a new query.
  TAwaited AskProbe(char letter, DWORD quickly);
  bool Answered(const TAwaited& awaited) const;
  // Handles what a drive has answered: the drive list, the table, a copy.
  void DriveAnswered(char letter);
  // Puts a drive of this type into the list, or takes it out; the selected drive's table and gauge
  // empty when it goes.
  void ListDrive(char letter, UINT type);
  // Table and gauge for the drive's answer; while it is asked, its letter, type and "wird abgefragt".
  void ShowProbe(char letter);
  void ShowAsking(char letter);
  void ClearTable();
  // The clipboard or the file, once every drive of the copy has answered or its time is over;
  // a drive that has not answered by then is one that did not answer in time, as in the report.
  void FinishCopy();
  // The hour-glass while any request waits.
  void UpdateCursor();
  // Row heights at the form's DPI and the column rule: two equal columns filling the table.
  void SetInfoGridMetrics();
  // The drive images at the form's DPI in the current scheme.
  void SetDriveImages();

  const drive::TDriveQueries& queries_;
  const drive::TStorageQueries& storage_;
  toolkit::TLayout layout_;
  toolkit::THints hints_;
  // Made with the window: its drives' answers come to it as messages.
  std::optional<drive::TDriveAsker> asker_;
  // The drives of DrivesView, in item order, which is letter order.
  std::vector<drive::TListedDrive> drives_;
  // The drive list's width as the user last chose it with the splitter (96 dpi): the window gives
  // it as much of that as its size allows.
  int chosenListWidth_;
  char Separator = 0;
  // The press of the drive list whose selection change showed its drive: its click shows nothing more.
  unsigned shownAtPress_ = ~0u;
  // The drive whose answer the table waits for, and the copy under way; a later request takes the
  // place of an earlier one.
  std::optional<TAwaited> show_;
  std::optional<TCopy> copy_;
};

}  // namespace app
