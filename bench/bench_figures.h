// Small helpers the benchmark programs share: timing samples and their order statistics, CPU
// time and peak memory of the process, and the rows of the table that bench/run.sh prints.
#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
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

// User and system CPU time of the whole process (every thread) so far.
inline double cpu_milliseconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto ms = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
  };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Peak resident set (VmHWM) of this process, or of the process `pid`, in KiB; 0 when unknown.
inline long peak_rss_kib(pid_t pid = 0) {
  std::ifstream status(pid == 0 ? std::string("/proc/self/status")
                                : "/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0)
      return std::stol(line.substr(6));
  return 0;
}

inline std::string format(const char* pattern, double value) {
  char text[64];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

// One row of the table that bench/run.sh prints: what was measured, its value, the target, the
// ratio to the protocol's own minimum or to the peer named, and whether the target is met.
inline void print_row(const std::string& figure, const std::string& value,
                      const std::string& target, const std::string& ratio, const char* met) {
  std::printf("ROW\t%s\t%s\t%s\t%s\t%s\n", figure.c_str(), value.c_str(), target.c_str(),
              ratio.c_str(), met);
  std::fflush(stdout);
}
inline void print_row(const std::string& figure, const std::string& value,
                      const std::string& target, const std::string& ratio, bool met) {
  print_row(figure, value, target, ratio, met ? "met" : "MISSED");
}
// A row for a peer's figure, which has no target of its own.
inline void print_peer_row(const std::string& figure, const std::string& value,
                           const std::string& ratio) {
  print_row(figure, value, "(peer)", ratio, "-");
}
