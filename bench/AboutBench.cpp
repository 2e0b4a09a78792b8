// How fast the about dialog answers a message while its "System" page shows (the live figures, the
// processor clock measured half a second at a time), against the icon page in the same run: a
// second thread sends WM_NULL every 10 ms and times each round trip. A third case measures the clock
// on the dialog's own thread, as it once was, for comparison.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "about/aboutdlg.h"
#include "bench/Rounds.h"
#include "bench/Seconds.h"
#include "sysinfo/ClockRate.h"
#include "toolkit/Application.h"

namespace {

struct TLatency {
  double Median = 0, Worst = 0;  // milliseconds
};

// Round trips of WM_NULL to the window over the seconds, while this thread handles its messages.
TLatency Ping(HWND window, double seconds) {
  std::vector<double> trips;
  std::atomic<bool> done = false;
  std::thread pinger([&] {
    const double end = Seconds() + seconds;
    while (Seconds() < end) {
      const double start = Seconds();
      DWORD_PTR result = 0;
      SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
      trips.push_back((Seconds() - start) * 1000);
      Sleep(10);
    }
    done = true;
    PostMessageA(window, WM_NULL, 0, 0);
  });
  while (!done) {
    MSG message;
    if (GetMessageA(&message, nullptr, 0, 0) <= 0) break;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  pinger.join();
  std::sort(trips.begin(), trips.end());
  return {trips[trips.size() / 2], trips.back()};
}

double MedianOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
  const double seconds = argc > 2 ? std::atof(argv[2]) : 2;
  toolkit::Application().Initialize();
  about::TAboutBox box(nullptr);
  box.Create();
  box.Show();
  std::vector<double> iconMedian, iconWorst, systemMedian, systemWorst, oldMedian, oldWorst;
  TRatios ratios;
  for (int round = 0; round < rounds; ++round) {
    box.Scroller.SetPosition(0);
    const TLatency icon = Ping(box.Handle(), seconds);
    box.Scroller.SetPosition(1);
    const TLatency system = Ping(box.Handle(), seconds);
    // The clock measured on the dialog's thread: what the page did before.
    const std::function<about::TSystemFigures()> figures = box.FigureSource;
    box.FigureSource = [] { return about::TSystemFigures{0, 0, sysinfo::MeasureMhz()}; };
    const TLatency old = Ping(box.Handle(), seconds);
    box.FigureSource = figures;
    iconMedian.push_back(icon.Median);
    iconWorst.push_back(icon.Worst);
    systemMedian.push_back(system.Median);
    systemWorst.push_back(system.Worst);
    oldMedian.push_back(old.Median);
    oldWorst.push_back(old.Worst);
    ratios.Ratios.push_back(system.Worst / std::max(icon.Worst, 0.001));
  }
  std::sort(ratios.Ratios.begin(), ratios.Ratios.end());
  std::printf("answer time in ms, median over %d rounds of %.0f s: round trip median / worst of the round\n",
              rounds, seconds);
  std::printf("  icon page                       %6.2f / %7.2f\n", MedianOf(iconMedian), MedianOf(iconWorst));
  std::printf("  System page                     %6.2f / %7.2f\n", MedianOf(systemMedian),
              MedianOf(systemWorst));
  std::printf("  System page, clock on its thread %5.2f / %7.2f\n", MedianOf(oldMedian), MedianOf(oldWorst));
  PrintResult("about System page: worst answer", "icon page", ratios, 2.0);
  return 0;
}
