// The page timer's ticks (`tick_rx_timeout` once a tick period) for as long as a LinkTicks
// lives: what the wizard's pages get from their timer 2 while a worker runs, for front ends and
// programs without pages.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

class LinkTicks {
public:
  LinkTicks();
  ~LinkTicks();
  LinkTicks(const LinkTicks&) = delete;
  LinkTicks& operator=(const LinkTicks&) = delete;

private:
  std::mutex mutex_;
  std::condition_variable stop_;
  bool stopping_ = false;
  std::thread thread_;
};
