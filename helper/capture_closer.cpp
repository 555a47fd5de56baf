#include "helper/capture_closer.h"

#include "link/helper_protocol.h"

bool CaptureCloser::start(std::string* error) {
  // As many as may be open at once: a whole client's captures close together.
  for (int i = 0; i < helper_protocol::MAX_CAPTURES; ++i) {
    std::unique_ptr<SmallThread> thread =
        SmallThread::start([this] { run(); }, CLOSER_STACK_SIZE, error);
    if (!thread) {
      end_threads();
      return false;
    }
    threads_.push_back(std::move(thread));
  }
  return true;
}

CaptureCloser::~CaptureCloser() { end_threads(); }

void CaptureCloser::end_threads() {
  {
    std::lock_guard lock(mutex_);
    ending_ = true;
  }
  queued_.notify_all();
  threads_.clear();
}

void CaptureCloser::close(std::shared_ptr<void> closing) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(closing));
  }
  queued_.notify_one();
}

void CaptureCloser::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    queued_.wait(lock, [this] { return ending_ || !queue_.empty(); });
    if (queue_.empty())
      return;
    std::shared_ptr<void> closing = std::move(queue_.front());
    queue_.pop_front();
    lock.unlock();
    closing.reset();
    lock.lock();
  }
}
