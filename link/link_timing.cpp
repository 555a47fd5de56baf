#include "link/link_timing.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace {

std::mutex stop_mutex;
std::condition_variable stop_changed;
std::atomic<bool> stop_flag{false};

} // namespace

LinkTiming& link_timing() {
  static LinkTiming timing;
  return timing;
}

void request_link_stop() {
  {
    std::lock_guard lock(stop_mutex);
    stop_flag = true;
  }
  stop_changed.notify_all();
}

void clear_link_stop() {
  std::lock_guard lock(stop_mutex);
  stop_flag = false;
}

bool link_stop_requested() { return stop_flag; }

bool link_pause(std::chrono::milliseconds duration) {
  std::unique_lock lock(stop_mutex);
  return !stop_changed.wait_for(lock, duration, [] { return stop_flag.load(); });
}
