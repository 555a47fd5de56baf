// The progress line of the waits that take seconds (discovery, the bridge's scan of the air):
// one line on standard error, rewritten in place with the time left, and cleared when the wait
// ends. Only on a terminal, and never with --quiet: a script's standard error stays clean.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

class ProgressLine {
public:
  // Shown only when standard error is a terminal and the user did not ask for quiet.
  explicit ProgressLine(bool quiet);
  ~ProgressLine(); // clears the line

  // Shows `what` with a countdown from `expected` (never below "1 s left" while it runs).
  void Show(const std::string& what, std::chrono::milliseconds expected);
  void Clear();

private:
  void Run();
  void Erase(); // mutex_ held

  const bool enabled_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::string what_;
  std::chrono::steady_clock::time_point end_;
  bool shown_ = false;
  bool on_screen_ = false;
  bool ending_ = false;
  std::thread thread_;
};
