// Alternating rounds of a baseline and a subject, measured in the same run, and the line that
// scripts/bench.sh reads: RESULT|figure|baseline|median|min|max|rounds|goal.
#pragma once

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "bench/Seconds.h"

struct TRatios {
  std::vector<double> Ratios;  // subject time / baseline time, one per round, sorted
  double BaselineSeconds = 0;  // in all rounds
  double SubjectSeconds = 0;
  double Median() const { return Ratios[Ratios.size() / 2]; }
};

// Each round times `perRound` runs of the baseline, then as many of the subject.
inline TRatios MeasureRounds(int rounds, int perRound, const std::function<void()>& baseline,
                             const std::function<void()>& subject) {
  TRatios result;
  for (int round = 0; round < rounds; ++round) {
    double start = Seconds();
    for (int i = 0; i < perRound; ++i) baseline();
    const double base = Seconds() - start;
    start = Seconds();
    for (int i = 0; i < perRound; ++i) subject();
    const double work = Seconds() - start;
    result.Ratios.push_back(work / base);
    result.BaselineSeconds += base;
    result.SubjectSeconds += work;
  }
  std::sort(result.Ratios.begin(), result.Ratios.end());
  return result;
}

inline void PrintResult(const char* figure, const char* baseline, const TRatios& r, double goal) {
  std::printf("RESULT|%s|%s|%.2f|%.2f|%.2f|%d|%.2f\n", figure, baseline, r.Median(), r.Ratios.front(),
              r.Ratios.back(), static_cast<int>(r.Ratios.size()), goal);
  std::fflush(stdout);
}
