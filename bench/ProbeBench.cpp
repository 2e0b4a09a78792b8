// The cost of one drive probe with its report, against the bare system calls that the probe makes
// for the same drive. Rounds alternate between the two so that both see the same machine load; the
// ratio printed is the median of the rounds' ratios.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/DriveInfo.h"
#include "bench/Seconds.h"

namespace {

using TGetDiskFreeSpaceExA = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

// What the probe asks the system, and nothing else.
unsigned long long BareCalls(const char* root) {
  char name[256], fs[256];
  DWORD serial, length, flags, spc, bps, freeClusters, totalClusters;
  unsigned long long sum = GetDriveTypeA(root);
  sum += GetVolumeInformationA(root, name, 255, &serial, &length, &flags, fs, 255);
  GetDiskFreeSpaceA(root, &spc, &bps, &freeClusters, &totalClusters);
  auto query = reinterpret_cast<TGetDiskFreeSpaceExA>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA")));
  ULARGE_INTEGER user, total, free;
  query(root, &user, &total, &free);
  return sum + total.QuadPart + totalClusters;
}

unsigned long long ProbeAndReport(char letter) {
  const app::TDriveInfo probe(letter);
  const auto report = probe.CreateReport();
  return static_cast<unsigned long long>(report->Count()) + static_cast<unsigned long long>(probe.TotalBytes);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 15;
  const int perRound = argc > 2 ? std::atoi(argv[2]) : 200;
  volatile unsigned long long sink = 0;
  std::vector<double> ratios;
  double bareTotal = 0, probeTotal = 0;
  for (int i = 0; i < 20; ++i) sink = sink + BareCalls("C:\\") + ProbeAndReport('C');  // warm up
  for (int round = 0; round < rounds; ++round) {
    double start = Seconds();
    for (int i = 0; i < perRound; ++i) sink = sink + BareCalls("C:\\");
    const double bare = Seconds() - start;
    start = Seconds();
    for (int i = 0; i < perRound; ++i) sink = sink + ProbeAndReport('C');
    const double probe = Seconds() - start;
    ratios.push_back(probe / bare);
    bareTotal += bare;
    probeTotal += probe;
  }
  std::sort(ratios.begin(), ratios.end());
  const double calls = static_cast<double>(rounds) * perRound;
  std::printf("bare system calls:  %.1f us per drive\n", bareTotal / calls * 1e6);
  std::printf("probe + report:     %.1f us per drive\n", probeTotal / calls * 1e6);
  std::printf("ratio (median of %d rounds): %.3f\n", rounds, ratios[ratios.size() / 2]);
  return sink == 0;  // keeps the work from being optimised away
}
