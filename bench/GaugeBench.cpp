// The main window's 497 x 28 gauge (horizontal bar, 69 %):
// - one repaint into a memory image, against one plain block copy of a 497 x 28 image;
// - one real WM_PAINT of the gauge window on the screen, against a window of the same size whose
//   paint is one block copy from a memory image.
#include <windows.h>

#include <cstdlib>

#include "bench/Rounds.h"
#include "controls/Gauges.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

namespace {

const int kWidth = 497, kHeight = 28;

class THost : public toolkit::TForm {
 public:
  THost() : toolkit::TForm({L"bench", 540, 120}) {}
};

// The baseline window: its paint copies a ready image.
controls::TBltBitmap* copySource = nullptr;

LRESULT CALLBACK CopyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    BitBlt(dc, 0, 0, kWidth, kHeight, copySource->Canvas(), 0, 0, SRCCOPY);
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;
  return DefWindowProcA(window, message, wParam, lParam);
}

void PaintNow(HWND window) {
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 15;
  const int perRound = argc > 2 ? std::atoi(argv[2]) : 300;
  toolkit::Application().Initialize();
  THost host;
  host.Create();
  ShowWindow(host.Handle(), SW_SHOWNOACTIVATE);
  controls::TGauge gauge;
  gauge.Create(host.Handle());
  MoveWindow(gauge.Handle(), 0, 0, kWidth, kHeight, FALSE);
  SendMessageA(gauge.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(host.Font()), FALSE);
  gauge.SetForeColor(RGB(0, 0, 255));
  gauge.SetProgress(69);

  controls::TBltBitmap target, source;
  target.SetSize(kWidth, kHeight);
  source.SetSize(kWidth, kHeight);
  gauge.PaintTo(source.Canvas());
  const TRatios repaint = MeasureRounds(
      rounds, perRound,
      [&] {
        BitBlt(target.Canvas(), 0, 0, kWidth, kHeight, source.Canvas(), 0, 0, SRCCOPY);
        GdiFlush();
      },
      [&] {
        gauge.PaintTo(target.Canvas());
        GdiFlush();
      });

  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = CopyWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "BenchCopyWindow";
  RegisterClassA(&windowClass);
  copySource = &source;
  HWND copyWindow = CreateWindowExA(0, "BenchCopyWindow", "", WS_CHILD | WS_VISIBLE, 0, 40, kWidth, kHeight,
                                    host.Handle(), nullptr, windowClass.hInstance, nullptr);
  for (int i = 0; i < 20; ++i) PaintNow(copyWindow), PaintNow(gauge.Handle());  // warm up
  const TRatios wmPaint = MeasureRounds(
      rounds, perRound, [&] { PaintNow(copyWindow); }, [&] { PaintNow(gauge.Handle()); });
  DestroyWindow(copyWindow);

  std::printf("block copy 497x28: %.1f us, gauge repaint: %.1f us\n",
              repaint.BaselineSeconds / (rounds * perRound) * 1e6,
              repaint.SubjectSeconds / (rounds * perRound) * 1e6);
  std::printf("WM_PAINT of a copying window: %.1f us, of the gauge: %.1f us\n",
              wmPaint.BaselineSeconds / (rounds * perRound) * 1e6,
              wmPaint.SubjectSeconds / (rounds * perRound) * 1e6);
  PrintResult("gauge repaint 497x28 (SizeGauge)", "one 497x28 block copy", repaint, 12);
  PrintResult("WM_PAINT of the gauge window", "WM_PAINT that is one block copy", wmPaint, 1.3);
  return 0;
}
