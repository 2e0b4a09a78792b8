// The console report's work for one drive, in-process (arguments read, drive checked, probed,
// formatted), against one GetDiskFreeSpaceExA for that drive, in alternating rounds.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "bench/Rounds.h"
#include "drive/DriveQueries.h"
#include "drive/ReportCommand.h"

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 15;
  const int perRound = argc > 2 ? std::atoi(argv[2]) : 200;
  SetErrorMode(SEM_FAILCRITICALERRORS);
  const drive::TDriveQueries& queries = drive::SystemDriveQueries();
  const std::vector<std::string> args = {"C:"};
  volatile unsigned long long sink = 0;
  const auto bare = [&] {
    ULARGE_INTEGER user, total, free;
    GetDiskFreeSpaceExA("C:\\", &user, &total, &free);
    sink = sink + total.QuadPart;
  };
  const auto report = [&] { sink = sink + drive::RunReportCommand(args, queries).Out.size(); };
  for (int i = 0; i < 20; ++i) bare(), report();  // warm up
  const TRatios ratios = MeasureRounds(rounds, perRound, bare, report);
  std::printf("GetDiskFreeSpaceExA: %.1f us, report of one drive: %.1f us\n",
              ratios.BaselineSeconds / (rounds * perRound) * 1e6,
              ratios.SubjectSeconds / (rounds * perRound) * 1e6);
  PrintResult("console report of drive C:, in-process", "GetDiskFreeSpaceExA(C:)", ratios, 25);
  return sink == 0;
}
