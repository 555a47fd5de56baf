#include "link/link_ticks.h"

#include "link/frame_exchange.h"
#include "link/link_timing.h"

LinkTicks::LinkTicks()
    : thread_([this] {
        std::unique_lock lock(mutex_);
        while (!stop_.wait_for(lock, link_timing().tick_period, [this] { return stopping_; }))
          tick_rx_timeout();
      }) {}

LinkTicks::~LinkTicks() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  stop_.notify_one();
  thread_.join();
}
