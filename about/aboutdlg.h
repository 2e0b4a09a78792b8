// The about dialog: product, version, copyright and comment from the version resource, the home-page
// and mail links, and a notebook of pages (program icon, live system figures with the configuration
// file, the info texts) paged by the scroller and by PageUp and PageDown.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "about/InfoAdd.h"
#include "about/Stamps.h"
#include "controls/Gauges.h"
#include "controls/Panel.h"
#include "controls/Tabs.h"
#include "runtime/DeadlineCall.h"
#include "sysinfo/SysComp.h"
#include "toolkit/Button.h"
#include "toolkit/Form.h"
#include "toolkit/Hints.h"
#include "toolkit/Image.h"
#include "toolkit/Label.h"
#include "toolkit/Layout.h"
#include "toolkit/Notebook.h"
#include "toolkit/Timer.h"

namespace about {

// What the timer shows of the system.
struct TSystemFigures {
  unsigned long long AvailPhysMemory = 0;
  int MemoryLoad = 0;
  double Mhz = 0;
};

class TAboutBox : public toolkit::TForm {
 public:
  // owner: the window that the dialog stays above and disables while it is modal.
  explicit TAboutBox(HWND owner);
  ~TAboutBox() override;
  // Creates the window and its components, then runs FormCreate.
  void Create() override;

  // Components, in the order the dialog declares them.
  controls::TPanel Panel;
  toolkit::TOkButton OKButton;
  toolkit::TLabel ProductName;
  toolkit::TLabel Version;
  toolkit::TLabel Copyright;
  // Made with the window, which it makes accept dropped files.
  std::optional<sysinfo::TSystem> SystemCheck;
  toolkit::TTimer AboutTimer;
  controls::TScroller Scroller;
  toolkit::TNotebook Notebook;
  toolkit::TImage ProgramIcon;
  toolkit::TLabel LinkLabel;
  toolkit::TLabel MailLabel;
  toolkit::TLabel Label7;
  toolkit::TLabel Label8;
  controls::TGauge LoadMemGauge;
  toolkit::TLabel Label6;
  toolkit::TLabel FreeLabel;
  toolkit::TLabel FreeMemLabel;
  toolkit::TLabel MhzLbLabel;
  toolkit::TLabel MhzLabel;
  toolkit::TLabel Label1;
  TTimeStamp TimeStamp;
  toolkit::TLabel CommentLabel;
  toolkit::TLabel Label2;
  toolkit::TLabel IniLabel;

  void FormCreate();
  void FormKeyPress(wchar_t& key);
  void AboutTimerTimer();
  void ScrollerClick();
  void FormShow();
  void LinkLabelClick(toolkit::TLabel& sender);
  void MailLabelClick();
  void FormKeyDown(WORD& key, toolkit::TShiftState shift);
  void IniLabelDblClick();

  // Appends a page named by the page count and returns it, or null when none has that caption.
  toolkit::TPage* NewPage();
  // Puts the text on a new page in a word-wrapped label that fills it.
  toolkit::TLabel& AddInfoPage(const std::wstring& text);
  void AddInfoPages(const TInfoAdds& adds);

  // A screen reader reads the dialog as a dialog: its caption, then product and version.
  toolkit::TAccElement AccDescribe(const toolkit::TAccPath& path) const override;
  // The program's picture, which holds the face it stands on, is made again.
  void ThemeChanged() override;

  // Where the timer reads the figures: SystemCheck, unless a test puts another source here.
  std::function<TSystemFigures()> FigureSource;
  // Measures the processor clock (half a second) on a thread of its own, so that the dialog keeps
  // answering; the system's measurement unless a test puts another here.
  std::function<double()> MeasureClock;

 protected:
  void KeyDown(WORD& key, toolkit::TShiftState shift) override { FormKeyDown(key, shift); }
  void KeyPress(wchar_t& key) override { FormKeyPress(key); }
  void BeforeShow() override { FormShow(); }
  void DpiChanged() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void MakeProgramIcon();
  // The figures now; the clock as last measured, a new measurement begun when the last has ended.
  TSystemFigures SystemFigures();

  toolkit::TLayout layout_;
  toolkit::THints hints_;
  std::vector<std::unique_ptr<toolkit::TLabel>> infoLabels_;
  bool applicationWindowWasVisible_ = false;
  std::optional<runtime::TDeadlineCall<double>> clockMeasurement_;
  double mhz_ = 0;
};

// The dialog's layout: one row per component, positions in pixels at 96 dpi.
std::vector<toolkit::TLayoutRow> AboutLayout(TAboutBox& box);

}  // namespace about
