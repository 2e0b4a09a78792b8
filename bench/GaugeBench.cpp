// One repaint of the main window's 497 x 28 gauge (all its off-screen steps and the final copy)
// against one plain block copy of a 497 x 28 image, measured in alternating rounds of the same run.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/Seconds.h"
#include "controls/Gauges.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

namespace {

class THost : public tk::TForm {
 public:
  THost() : tk::TForm({"bench", 520, 100}) {}
};

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 15;
  const int perRound = argc > 2 ? std::atoi(argv[2]) : 300;
  tk::Application().Initialize();
  THost host;
  host.Create();
  controls::TGauge gauge;
  gauge.Create(host.Handle());
  MoveWindow(gauge.Handle(), 0, 0, 497, 28, FALSE);
  SendMessageA(gauge.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(host.Font()), FALSE);
  gauge.SetForeColor(RGB(0, 0, 255));
  gauge.SetProgress(69);

  controls::TBltBitmap target, source;
  target.SetSize(497, 28);
  source.SetSize(497, 28);
  std::vector<double> ratios;
  double copyTotal = 0, paintTotal = 0;
  for (int round = 0; round < rounds; ++round) {
    double start = Seconds();
    for (int i = 0; i < perRound; ++i) BitBlt(target.Canvas(), 0, 0, 497, 28, source.Canvas(), 0, 0, SRCCOPY);
    GdiFlush();
    const double copy = Seconds() - start;
    start = Seconds();
    for (int i = 0; i < perRound; ++i) gauge.PaintTo(target.Canvas());
    GdiFlush();
    const double paint = Seconds() - start;
    ratios.push_back(paint / copy);
    copyTotal += copy;
    paintTotal += paint;
  }
  std::sort(ratios.begin(), ratios.end());
  const double n = static_cast<double>(rounds) * perRound;
  std::printf("plain copy 497x28:  %.1f us\n", copyTotal / n * 1e6);
  std::printf("gauge repaint:      %.1f us\n", paintTotal / n * 1e6);
  std::printf("ratio (median of %d rounds): %.1f\n", rounds, ratios[ratios.size() / 2]);
  return 0;
}
