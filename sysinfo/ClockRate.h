// Measures the processor's clock rate from its time-stamp counter over half a second.
#pragma once

#include <windows.h>

namespace sysinfo {

// What a measurement reads; the system's own clocks in the program, a fake in tests.
class TClockSource {
 public:
  virtual ~TClockSource() = default;
  virtual unsigned long long TimeStampCounter() = 0;  // RDTSC
  virtual long long PerformanceCounter() = 0;         // QueryPerformanceCounter
  virtual long long PerformanceFrequency() = 0;       // QueryPerformanceFrequency
  virtual void Sleep(DWORD milliseconds) = 0;
};

TClockSource& SystemClocks();

// Counter ticks per microsecond while the thread runs at real-time priority: the process goes to the
// real-time class and the thread to time-critical for the measurement, and both get their former
// priorities back afterwards, also when an exception passes. The elapsed time is measured, not
// taken from the sleep, and all 64 bits of the tick difference count.
double MeasureMhz(TClockSource& clocks = SystemClocks());

}  // namespace sysinfo
