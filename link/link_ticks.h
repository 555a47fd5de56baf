// The page timer's ticks for as long as a LinkTicks lives: what the wizard's pages get from
// their timer 2 while a worker runs, for front ends and programs without pages. It ticks the
// link channel of the thread that made it (link_channel.h).
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

struct LinkChannel;

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
  LinkChannel& channel_;
  std::thread thread_;
};
