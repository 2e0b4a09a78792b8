// A window with every gauge style at a few percentages, to look at (scripts/gauge-gallery.sh).
#include <windows.h>

#include <memory>
#include <vector>

#include "controls/Gauges.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

namespace {

class TGalleryForm : public tk::TForm {
 public:
  TGalleryForm() : tk::TForm("Gauge styles", 520, 420) {
    const controls::TGaugeKind kinds[] = {controls::gkText, controls::gkHorizontalBar, controls::gkVerticalBar,
                                          controls::gkPie, controls::gkNeedle};
    const int percents[] = {0, 25, 50, 75, 100};
    for (int row = 0; row < 5; ++row) {
      for (int col = 0; col < 5; ++col) {
        auto gauge = std::make_unique<controls::TGauge>(Handle());
        SendMessageA(gauge->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
        MoveWindow(gauge->Handle(), 10 + col * 100, 10 + row * 78, 90, 70, FALSE);
        gauge->SetForeColor(RGB(0, 0, 255));
        gauge->SetKind(kinds[row]);
        if (col == 4) gauge->SetBorderStyle(controls::bsNone);
        gauge->SetProgress(percents[col]);
        gauges_.push_back(std::move(gauge));
      }
    }
  }

 private:
  std::vector<std::unique_ptr<controls::TGauge>> gauges_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  tk::Application().Initialize();
  TGalleryForm form;
  tk::Application().Run(form);
  return 0;
}
