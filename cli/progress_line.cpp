#include "cli/progress_line.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "link/translation.h"

ProgressLine::ProgressLine(bool quiet) : enabled_(!quiet && isatty(STDERR_FILENO)) {
  if (enabled_)
    thread_ = std::thread([this] { Run(); });
}

ProgressLine::~ProgressLine() {
  if (!enabled_)
    return;
  {
    std::lock_guard lock(mutex_);
    ending_ = true;
  }
  changed_.notify_one();
  thread_.join();
}

void ProgressLine::Show(const std::string& what, std::chrono::milliseconds expected) {
  if (!enabled_)
    return;
  {
    std::lock_guard lock(mutex_);
    what_ = what;
    end_ = std::chrono::steady_clock::now() + expected;
    shown_ = true;
  }
  changed_.notify_one();
}

// The line is gone from the screen before Clear returns, so that what is printed next (the
// result, a message) starts on a clean line.
void ProgressLine::Clear() {
  if (!enabled_)
    return;
  std::lock_guard lock(mutex_);
  shown_ = false;
  Erase();
}

void ProgressLine::Erase() {
  if (!on_screen_)
    return;
  std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
  on_screen_ = false;
}

void ProgressLine::Run() {
  std::unique_lock lock(mutex_);
  while (!ending_) {
    if (shown_) {
      const auto left = std::chrono::duration_cast<std::chrono::seconds>(
          end_ - std::chrono::steady_clock::now() + std::chrono::milliseconds{999});
      const long long seconds = std::max<std::chrono::seconds::rep>(left.count(), 1);
      // TRANSLATORS: after a progress line, on the same line: the seconds it may still take.
      std::fprintf(
          stderr, "\r\033[K%s  %s", what_.c_str(),
          translation::filled(P_("%1 s left", "%1 s left", static_cast<unsigned long>(seconds)),
                              {std::to_string(seconds)})
              .c_str());
      std::fflush(stderr);
      on_screen_ = true;
    }
    changed_.wait_for(lock, std::chrono::milliseconds{250});
  }
  Erase();
}
