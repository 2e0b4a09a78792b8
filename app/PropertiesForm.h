// "Eigenschaften von C:": what Windows knows of a drive's volume and of the device behind it, as a
// two-column table in the main window's style; Ctrl+C copies it as the main window's copies are made.
// The queries run on a thread of their own: the window shows "wird abgefragt ..." until they answer,
// and a drive that has not answered within the patience shows none of them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "controls/Panel.h"
#include "controls/StringGrid.h"
#include "drive/DetailsRequest.h"
#include "drive/DriveList.h"
#include "drive/DriveQueries.h"
#include "drive/DriveReport.h"
#include "drive/StorageQueries.h"
#include "toolkit/Button.h"
#include "toolkit/Form.h"
#include "toolkit/Hints.h"
#include "toolkit/Layout.h"

namespace app {

// The drive list's context menu for WM_CONTEXTMENU's point, where the list asked for it (the point
// over it, or, from the keyboard, the focus in it): whether the user chose "Eigenschaften"; nothing
// when the message is not the list's.
std::optional<bool> DriveListMenu(HWND owner, HWND list, LPARAM point);

// The window's title for a drive: "Eigenschaften von C:".
std::wstring PropertiesCaption(char letter);

// The rows the table shows: those of a probe with its details; while it is asked (probe null), the
// letter, the listed type and "wird abgefragt ..."; when it did not answer in time, letter, type and
// that it did not.
std::vector<drive::TDriveRow> PropertyRows(const drive::TListedDrive& drive, const drive::TDriveInfo* probe,
                                           bool timedOut, const runtime::TNumberSeparators& numbers);

class TPropertiesForm : public toolkit::TForm {
 public:
  // owner: the window the dialog stays above and disables while it is modal.
  TPropertiesForm(HWND owner, drive::TListedDrive drive, const drive::TDriveQueries& queries,
                  const drive::TStorageQueries& storage);
  // Posted by the queries' thread when they have answered.
  static constexpr UINT kDetailsAnswered = WM_APP + 2;
  // Creates the window and its components, then asks the drive.
  void Create() override;

  // Components, in the order the window declares them.
  controls::TStringGrid InfoGrid;
  controls::TPanel ButtonPanel;
  toolkit::TOkButton OKButton;

  void FormCreate();
  // Ctrl+C, Ctrl+Ins: the table on the clipboard as ";"-separated lines and as a typed table.
  void CopyClick();
  void FormKeyDown(WORD& key, toolkit::TShiftState shift);

  // How long the drive is waited for (milliseconds): as long as a copy waits for it.
  UINT Patience = 15000;
  // How long Create waits for the answer before it shows "wird abgefragt ...", so that a drive that
  // answers at once opens with its rows.
  DWORD AnswerPatience = 50;
  // Whether the table shows the answer, or that none came in time.
  bool Settled() const { return !call_; }

  // A screen reader reads the window as a dialog, named by its caption.
  toolkit::TAccElement AccDescribe(const toolkit::TAccPath& path) const override;

 protected:
  void KeyDown(WORD& key, toolkit::TShiftState shift) override { FormKeyDown(key, shift); }
  void DpiChanged() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Takes the answer if it has come, or, when the patience is over, none.
  void Settle(bool timeOver);
  void ShowRows(std::vector<drive::TDriveRow> rows);
  void SetInfoGridMetrics();
  void FitColumns();

  drive::TListedDrive drive_;
  const drive::TDriveQueries& queries_;
  const drive::TStorageQueries& storage_;
  toolkit::TLayout layout_;
  toolkit::THints hints_;
  // The queries while they are waited for.
  std::optional<drive::TDetailsCall> call_;
  std::vector<drive::TDriveRow> rows_;
};

// The window's layout: one row per component, positions in pixels at 96 dpi.
std::vector<toolkit::TLayoutRow> PropertiesLayout(TPropertiesForm& form);

}  // namespace app
