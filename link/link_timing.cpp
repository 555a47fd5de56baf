#include "link/link_timing.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "link/link_channel.h"

namespace {

std::mutex stop_mutex;
std::condition_variable stop_changed;
std::atomic<bool> stop_flag{false};
std::atomic<bool> wind_down_flag{false};

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

void request_link_wind_down() {
  {
    std::lock_guard lock(stop_mutex);
    wind_down_flag = true;
  }
  stop_changed.notify_all();
}

void clear_link_wind_down() {
  std::lock_guard lock(stop_mutex);
  wind_down_flag = false;
}

bool link_wind_down_requested() { return wind_down_flag; }

bool link_pause(std::chrono::milliseconds duration, bool with_wind_down) {
  const LinkChannel& channel = link_channel();
  std::unique_lock lock(stop_mutex);
  return !stop_changed.wait_for(lock, duration, [&] {
    return stop_flag.load() || (with_wind_down && wind_down_flag.load()) || channel.stopped.load();
  });
}

void wake_link_pauses() {
  // Taking the lock orders the waker's change before any pause's next look at it.
  { std::lock_guard lock(stop_mutex); }
  stop_changed.notify_all();
}
