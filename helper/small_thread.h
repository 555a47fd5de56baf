// A thread on a stack of a size chosen here, not by RLIMIT_STACK: glibc gives every thread (and
// the kernel the main thread) as much stack as that limit says, so a limit of a few KiB starves
// the helper's threads and a large one, times the threads, overruns a low address-space limit.
// A thread that cannot start says why instead of throwing.
#pragma once

#include <pthread.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

class SmallThread {
public:
  // Runs `body` on a new thread with `stack_size` bytes of stack. Null with the reason (and the
  // limit that most likely stood in the way) when the thread cannot start.
  static std::unique_ptr<SmallThread> start(std::function<void()> body, std::size_t stack_size,
                                            std::string* error);
  ~SmallThread(); // joins
  SmallThread(const SmallThread&) = delete;
  SmallThread& operator=(const SmallThread&) = delete;

private:
  explicit SmallThread(std::function<void()> body) : body_(std::move(body)) {}
  static void* run(void* self);

  std::function<void()> body_;
  pthread_t thread_{};
};

// Stack sizes of the helper's threads: what they use, with room; sanitizers need several times
// more.
#ifdef QBR20G_SANITIZED
constexpr std::size_t STACK_SCALE = 8;
#else
constexpr std::size_t STACK_SCALE = 1;
#endif
constexpr std::size_t SERVICE_STACK_SIZE = 256 * 1024 * STACK_SCALE;
constexpr std::size_t CLOSER_STACK_SIZE = 64 * 1024 * STACK_SCALE;
