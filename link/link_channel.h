// The link state of one conversation with bridges: the capture it sends and reads on, the
// time-out of its current wait, the step under way and why a send or read failed.
//
// The wizard holds one conversation at a time, on whichever worker runs: it uses the process's
// channel, whose fields are `capture_handle`, `rx_tick_count` and `rx_tick_limit`. The command
// line talks to many bridges at once: each of its worker threads binds a channel of its own,
// with adapter access of its own (a link helper per worker), so that their captures, waits and
// failures never meet. The link and device procedures use the calling thread's channel.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <string>

#include "link/adapter_access.h"
#include "link/capture_handle.h"

struct LinkChannel {
  std::unique_ptr<CaptureHandle> capture;
  // Ticks since the current wait began; advanced by the ticking thread, reset by the waiter.
  std::atomic<int> tick_count{0};
  // The current wait's limit in ticks, and its end on the monotonic clock (waiter only).
  int tick_limit = 0;
  std::chrono::steady_clock::time_point deadline{};
  // Where this channel lists adapters and opens captures; null: the process's access.
  std::unique_ptr<AdapterAccess> access;
  // Ends this channel's waits and pauses (stop_link_channel), as request_link_stop ends all.
  std::atomic<bool> stopped{false};
  // The exchange step under way, as the procedure names it (a literal), or null.
  const char* step = nullptr;
  // Why a send or read failed since the procedure began, as the capture told it.
  std::string failure;
};

// The process's channel, and the calling thread's (its bound one, else the process's).
LinkChannel& process_link_channel();
LinkChannel& link_channel();

// Binds `channel` to the calling thread for the binder's lifetime.
class BoundLinkChannel {
public:
  explicit BoundLinkChannel(LinkChannel& channel);
  ~BoundLinkChannel();
  BoundLinkChannel(const BoundLinkChannel&) = delete;
  BoundLinkChannel& operator=(const BoundLinkChannel&) = delete;

private:
  LinkChannel* previous_;
};

// Ends the waits and pauses of `channel` now, from any thread; nothing more is sent on it.
void stop_link_channel(LinkChannel& channel);
