// Closes captures and probe watches on threads of their own. Taking a packet socket down waits
// for the kernel's network RCU grace period (16 to 40 ms measured over veth); done inline, every
// replaced capture would hold up the client's next request by that much. Several close at once,
// so that their waits overlap and no capture's ring stays mapped behind another's wait.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "helper/small_thread.h"

class CaptureCloser {
public:
  CaptureCloser() = default;
  ~CaptureCloser(); // closes whatever is still queued, then ends its threads
  CaptureCloser(const CaptureCloser&) = delete;
  CaptureCloser& operator=(const CaptureCloser&) = delete;

  // Starts the closing threads. False with the reason when one cannot start.
  bool start(std::string* error);
  // Closes `closing` (its last owner) on one of the threads.
  void close(std::shared_ptr<void> closing);

private:
  void run();
  void end_threads();

  std::mutex mutex_;
  std::condition_variable queued_;
  std::deque<std::shared_ptr<void>> queue_;
  bool ending_ = false;
  std::vector<std::unique_ptr<SmallThread>> threads_;
};
