// Closes captures on threads of their own. Taking a packet socket down waits for the kernel's
// network RCU grace period (16 to 40 ms measured over veth); done inline, every replaced
// capture would hold up the client's next request by that much. Several close at once, so
// that their waits overlap and no capture's ring stays mapped behind another's wait.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "link/capture_handle.h"

class CaptureCloser {
public:
  CaptureCloser();
  ~CaptureCloser(); // closes whatever is still queued, then ends its thread
  CaptureCloser(const CaptureCloser&) = delete;
  CaptureCloser& operator=(const CaptureCloser&) = delete;

  void close(std::unique_ptr<CaptureHandle> capture);

private:
  void run();

  std::mutex mutex_;
  std::condition_variable queued_;
  std::deque<std::unique_ptr<CaptureHandle>> queue_;
  bool ending_ = false;
  std::vector<std::thread> threads_;
};
