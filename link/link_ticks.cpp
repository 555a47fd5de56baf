#include "link/link_ticks.h"

#include "link/link_channel.h"
#include "link/link_timing.h"

LinkTicks::LinkTicks()
    : channel_(link_channel()), thread_([this] {
        std::unique_lock lock(mutex_);
        while (!stop_.wait_for(lock, link_timing().tick_period, [this] { return stopping_; }))
          ++channel_.tick_count;
      }) {}

LinkTicks::~LinkTicks() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  stop_.notify_one();
  thread_.join();
}
