#include "helper/small_thread.h"

#include <sys/resource.h>

#include <cerrno>
#include <cstring>

#include "link/translation.h"

namespace {

// The limits that may have kept a thread from starting, those set low enough to matter.
std::string limiting(int failed) {
  std::string text;
  rlimit processes{};
  if (failed == EAGAIN && getrlimit(RLIMIT_NPROC, &processes) == 0 && processes.rlim_cur < 4096)
    text = translation::filled(_("the limit of processes and threads is %1"),
                               {std::to_string(processes.rlim_cur)});
  rlimit space{};
  if (getrlimit(RLIMIT_AS, &space) == 0 && space.rlim_cur != RLIM_INFINITY)
    text +=
        (text.empty() ? "" : ", ") + translation::filled(_("the limit of address space is %1 KiB"),
                                                         {std::to_string(space.rlim_cur / 1024)});
  return text.empty() ? "" : " (" + text + ")";
}

} // namespace

std::unique_ptr<SmallThread> SmallThread::start(std::function<void()> body, std::size_t stack_size,
                                                std::string* error) {
  std::unique_ptr<SmallThread> thread(new SmallThread(std::move(body)));
  pthread_attr_t attributes;
  int failed = pthread_attr_init(&attributes);
  if (failed == 0) {
    failed = pthread_attr_setstacksize(&attributes, stack_size);
    if (failed == 0)
      failed = pthread_create(&thread->thread_, &attributes, run, thread.get());
    pthread_attr_destroy(&attributes);
  }
  if (failed == 0)
    return thread;
  // TRANSLATORS: %1 is the system's reason, %2 the limits that may have caused it, in
  // parentheses, or nothing.
  *error = translation::filled(_("cannot start a thread: %1%2"),
                               {std::strerror(failed), limiting(failed)});
  return nullptr;
}

SmallThread::~SmallThread() { pthread_join(thread_, nullptr); }

void* SmallThread::run(void* self) {
  static_cast<SmallThread*>(self)->body_();
  return nullptr;
}
