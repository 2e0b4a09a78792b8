#include "sysinfo/ClockRate.h"

#include <x86intrin.h>

namespace sysinfo {

namespace {

class TSystemClocks final : public TClockSource {
 public:
  unsigned long long TimeStampCounter() override { return __rdtsc(); }
  long long PerformanceCounter() override {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
  }
  long long PerformanceFrequency() override {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
  }
  void Sleep(DWORD milliseconds) override { ::Sleep(milliseconds); }
};

// Real-time priority for the lifetime of the scope; a process left in the real-time class could
// starve the whole machine.
class TRealTimePriority {
 public:
  TRealTimePriority()
      : process_(GetCurrentProcess()),
        thread_(GetCurrentThread()),
        processClass_(GetPriorityClass(process_)),
        threadPriority_(GetThreadPriority(thread_)) {
    SetPriorityClass(process_, REALTIME_PRIORITY_CLASS);
    SetThreadPriority(thread_, THREAD_PRIORITY_TIME_CRITICAL);
  }
  TRealTimePriority(const TRealTimePriority&) = delete;
  TRealTimePriority& operator=(const TRealTimePriority&) = delete;
  ~TRealTimePriority() {
    if (threadPriority_ != THREAD_PRIORITY_ERROR_RETURN) SetThreadPriority(thread_, threadPriority_);
    if (processClass_ != 0) SetPriorityClass(process_, processClass_);
  }

 private:
  HANDLE process_;
  HANDLE thread_;
  DWORD processClass_;
  int threadPriority_;
};

}  // namespace

TClockSource& SystemClocks() {
  static TSystemClocks clocks;
  return clocks;
}

double MeasureMhz(TClockSource& clocks) {
  TRealTimePriority priority;
  clocks.Sleep(10);
  const long long startTime = clocks.PerformanceCounter();
  const unsigned long long startTicks = clocks.TimeStampCounter();
  clocks.Sleep(500);
  const unsigned long long endTicks = clocks.TimeStampCounter();
  const long long endTime = clocks.PerformanceCounter();
  const long long frequency = clocks.PerformanceFrequency();
  if (endTime <= startTime || frequency <= 0) return 0;
  const double microseconds = static_cast<double>(endTime - startTime) * 1e6 / static_cast<double>(frequency);
  return static_cast<double>(endTicks - startTicks) / microseconds;
}

}  // namespace sysinfo
