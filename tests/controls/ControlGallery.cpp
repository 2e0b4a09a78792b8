// A window with every gauge style at a few percentages and the scroller's looks, to look at
// (scripts/gallery.sh).
#include <windows.h>

#include <memory>
#include <vector>

#include "controls/Gauges.h"
#include "controls/Tabs.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

namespace {

class TGalleryForm : public toolkit::TForm {
 public:
  TGalleryForm() : toolkit::TForm({L"Control gallery", 520, 460}) {}

  void Create() override {
    toolkit::TForm::Create();
    const controls::TGaugeKind kinds[] = {controls::gkText, controls::gkHorizontalBar,
                                          controls::gkVerticalBar, controls::gkPie, controls::gkNeedle};
    const int percents[] = {0, 25, 50, 75, 100};
    for (int row = 0; row < 5; ++row) {
      for (int col = 0; col < 5; ++col) {
        auto gauge = std::make_unique<controls::TGauge>();
        gauge->Create(Handle());
        SendMessageA(gauge->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
        MoveWindow(gauge->Handle(), 10 + col * 100, 10 + row * 78, 90, 70, FALSE);
        gauge->SetForeColor(RGB(0, 0, 255));
        gauge->SetKind(kinds[row]);
        if (col == 4) gauge->SetBorderStyle(controls::bsNone);
        gauge->SetProgress(percents[col]);
        gauges_.push_back(std::move(gauge));
      }
    }
    // Scrollers at y = 410: two with both halves normal (the script holds the second one's right
    // half down), one with both disabled.
    for (int i = 0; i < 3; ++i) {
      auto scroller = std::make_unique<controls::TScroller>();
      scroller->Create(Handle());
      MoveWindow(scroller->Handle(), 10 + i * 30, 410, 23, 13, FALSE);
      if (i < 2) {
        scroller->SetMax(2);
        scroller->SetPosition(1);
      }
      scrollers_.push_back(std::move(scroller));
    }
  }

 private:
  std::vector<std::unique_ptr<controls::TGauge>> gauges_;
  std::vector<std::unique_ptr<controls::TScroller>> scrollers_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  toolkit::Application().Initialize();
  TGalleryForm form;
  form.Create();
  toolkit::Application().Run(form);
  return 0;
}
