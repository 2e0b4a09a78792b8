// The cost of one drive probe with its report, against the bare system calls that the probe makes
// for the same drive; the same probe as a click makes it, on the drive's own thread of the asker,
// against the probe on the caller's own thread (as a click made it before); and the drive list made
// anew as the window makes it (each letter's type on its drive's thread) against the 26 type queries
// one after the other on the caller's thread. Rounds alternate between subject and baseline so that
// both see the same machine load; the ratio printed is the median of the rounds' ratios.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "bench/Rounds.h"
#include "drive/DriveAsker.h"
#include "drive/DriveInfo.h"

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
  const drive::TDriveInfo probe(letter);
  const auto report = probe.CreateReport();
  return static_cast<unsigned long long>(report->Count()) + static_cast<unsigned long long>(probe.TotalBytes);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 15;
  const int perRound = argc > 2 ? std::atoi(argv[2]) : 200;
  volatile unsigned long long sink = 0;
  for (int i = 0; i < 20; ++i) sink = sink + BareCalls("C:\\") + ProbeAndReport('C');  // warm up
  const TRatios ratios = MeasureRounds(
      rounds, perRound, [&] { sink = sink + BareCalls("C:\\"); }, [&] { sink = sink + ProbeAndReport('C'); });
  std::printf("bare system calls: %.1f us per drive, probe + report: %.1f us per drive\n",
              ratios.BaselineSeconds / (rounds * perRound) * 1e6,
              ratios.SubjectSeconds / (rounds * perRound) * 1e6);
  PrintResult("drive probe with its report (C:)", "the system calls the probe makes", ratios, 0);

  // The click's way: the probe on the drive's thread of the asker, waited for.
  drive::TDriveAsker asker(drive::SystemDriveQueries(), {});
  const auto apart = [&] {
    const unsigned probes = asker.Counts('C').Probes;
    asker.AskProbe('C');
    asker.WaitForProbe('C', probes, INFINITE);
    sink = sink + static_cast<unsigned long long>(asker.Probe('C').Probe->CreateReport()->Count());
  };
  const TRatios click = MeasureRounds(
      rounds, perRound, [&] { sink = sink + ProbeAndReport('C'); }, apart);
  std::printf("probe on the caller's thread: %.1f us, apart with a deadline: %.1f us\n",
              click.BaselineSeconds / (rounds * perRound) * 1e6,
              click.SubjectSeconds / (rounds * perRound) * 1e6);
  PrintResult("click's probe apart, with deadline (C:)", "the same probe on the window's thread", click, 1.2);

  // The drive list made anew: one round over every letter's type on the asker's thread, waited for.
  const auto typesInTurn = [&] {
    char root[] = "A:\\";
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      root[0] = letter;
      sink = sink + GetDriveTypeA(root);
    }
  };
  const auto typesApart = [&] {
    asker.AskAllTypes(INFINITE);
    sink = sink + asker.Type('C').value_or(0);
  };
  const int lists = perRound / 10 > 0 ? perRound / 10 : 1;
  const TRatios list = MeasureRounds(rounds, lists, typesInTurn, typesApart);
  std::printf("26 type queries in turn: %.1f us, in one round apart: %.1f us\n",
              list.BaselineSeconds / (rounds * lists) * 1e6, list.SubjectSeconds / (rounds * lists) * 1e6);
  PrintResult("drive list made anew, apart", "the 26 type queries on the caller's thread", list, 0);
  return sink == 0;  // keeps the work from being optimised away
}
