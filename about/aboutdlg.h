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

class TAboutBox : public tk::TForm {
 public:
  // owner: the window that the dialog stays above and disables while it is modal.
  explicit TAboutBox(HWND owner);
  ~TAboutBox() override;
  // Creates the window and its components, then runs FormCreate.
  void Create() override;

  // Components, in the order the dialog declares them.
  controls::TPanel Panel;
  tk::TOkButton OKButton;
  tk::TLabel ProductName;
  tk::TLabel Version;
  tk::TLabel Copyright;
  // Made with the window, which it makes accept dropped files.
  std::optional<sysinfo::TSystem> SystemCheck;
  tk::TTimer AboutTimer;
  controls::TScroller Scroller;
  tk::TNotebook Notebook;
  tk::TImage ProgramIcon;
  tk::TLabel LinkLabel;
  tk::TLabel MailLabel;
  tk::TLabel Label7;
  tk::TLabel Label8;
  controls::TGauge LoadMemGauge;
  tk::TLabel Label6;
  tk::TLabel FreeLabel;
  tk::TLabel FreeMemLabel;
  tk::TLabel MhzLbLabel;
  tk::TLabel MhzLabel;
  tk::TLabel Label1;
  TTimeStamp TimeStamp;
  tk::TLabel CommentLabel;
  tk::TLabel Label2;
  tk::TLabel IniLabel;

  void FormCreate();
  void FormKeyPress(char& key);
  void AboutTimerTimer();
  void ScrollerClick();
  void FormShow();
  void LinkLabelClick(tk::TLabel& sender);
  void MailLabelClick();
  void FormKeyDown(WORD& key, tk::TShiftState shift);
  void IniLabelDblClick();

  // Appends a page named by the page count and returns it, or null when none has that caption.
  tk::TPage* NewPage();
  // Puts the text on a new page in a word-wrapped label that fills it.
  tk::TLabel& AddInfoPage(const std::string& text);
  void AddInfoPages(const TInfoAdds& adds);

  // Where the timer reads the figures: SystemCheck, unless a test puts another source here.
  std::function<TSystemFigures()> FigureSource;

 protected:
  void KeyDown(WORD& key, tk::TShiftState shift) override { FormKeyDown(key, shift); }
  void KeyPress(char& key) override { FormKeyPress(key); }
  void BeforeShow() override { FormShow(); }
  void DpiChanged() override;

 private:
  void MakeProgramIcon();
  TSystemFigures SystemFigures() const;

  tk::TLayout layout_;
  tk::THints hints_;
  std::vector<std::unique_ptr<tk::TLabel>> infoLabels_;
  bool applicationWindowWasVisible_ = false;
};

// The dialog's layout: one row per component, positions in pixels at 96 dpi.
std::vector<tk::TLayoutRow> AboutLayout(TAboutBox& box);

}  // namespace about
