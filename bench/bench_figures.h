// Small helpers the benchmark programs share: timing samples and their order statistics.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

struct Figures {
  double median = 0;
  double p90 = 0;
  double max = 0;
};

inline Figures figures_of(std::vector<double> samples) {
  Figures figures;
  if (samples.empty())
    return figures;
  std::sort(samples.begin(), samples.end());
  figures.median = samples[samples.size() / 2];
  figures.p90 = samples[std::min(samples.size() - 1, samples.size() * 9 / 10)];
  figures.max = samples.back();
  return figures;
}

inline double milliseconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}
