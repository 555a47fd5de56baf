#include "helper/capture_closer.h"

#include "link/helper_protocol.h"

CaptureCloser::CaptureCloser() {
  // As many as may be open at once: a whole client's captures close together.
  for (int i = 0; i < helper_protocol::MAX_CAPTURES; ++i)
    threads_.emplace_back([this] { run(); });
}

CaptureCloser::~CaptureCloser() {
  {
    std::lock_guard lock(mutex_);
    ending_ = true;
  }
  queued_.notify_all();
  for (std::thread& thread : threads_)
    thread.join();
}

void CaptureCloser::close(std::unique_ptr<CaptureHandle> capture) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(capture));
  }
  queued_.notify_one();
}

void CaptureCloser::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    queued_.wait(lock, [this] { return ending_ || !queue_.empty(); });
    if (queue_.empty())
      return;
    std::unique_ptr<CaptureHandle> capture = std::move(queue_.front());
    queue_.pop_front();
    lock.unlock();
    capture.reset();
    lock.lock();
  }
}
