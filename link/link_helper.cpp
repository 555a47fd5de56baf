#include "link/link_helper.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <thread>

#include "link/translation.h"

namespace hp = helper_protocol;
using std::chrono::milliseconds;

namespace {

using Clock = std::chrono::steady_clock;

// Longest time a request other than a read may take before the helper counts as hung.
constexpr milliseconds REQUEST_LIMIT{5000};
// Room beyond a read's own wait for the reply to come back.
constexpr milliseconds READ_REPLY_ROOM{1000};
// How long a helper whose connection we closed may take to end before it is killed.
constexpr milliseconds END_LIMIT{1000};

std::string errno_text(const std::string& what) {
  // TRANSLATORS: %1 is what failed, %2 the system's reason.
  return translation::filled(L_("%1: %2"), {what, translation::error_reason(errno)});
}

// A descriptor number above the standard three, close-on-exec, so posix_spawn's dup2 onto 0
// always acts (and clears the flag) even when this process runs with its stdin closed.
int above_stdio(int fd) {
  if (fd > 2)
    return fd;
  const int moved = fcntl(fd, F_DUPFD_CLOEXEC, 3);
  close(fd);
  return moved;
}

// How a process ended, from its wait status.
std::string ending_text(int status) {
  // TRANSLATORS: "it" is the link helper, in this and the reasons below.
  if (WIFEXITED(status))
    return translation::filled(L_("it ended with exit status %1"),
                               {std::to_string(WEXITSTATUS(status))});
  if (WIFSIGNALED(status)) {
    const char* name = sigdescr_np(WTERMSIG(status));
    const std::string number = std::to_string(WTERMSIG(status));
    // TRANSLATORS: %2 is the signal's English name, such as "Killed".
    return name ? translation::filled(L_("it was killed by signal %1 (%2)"), {number, name})
                : translation::filled(L_("it was killed by signal %1"), {number});
  }
  return L_("it ended");
}

// Waits a moment for a process that has closed its end to be gone. How it ended, or empty when
// it has not ended within END_LIMIT (the destructor then kills it).
std::string await_end(pid_t pid) {
  const auto deadline = Clock::now() + END_LIMIT;
  for (;;) {
    int status = 0;
    const pid_t ended = waitpid(pid, &status, WNOHANG);
    if (ended == pid)
      return ending_text(status);
    if ((ended < 0 && errno != EINTR) || Clock::now() >= deadline)
      return "";
    std::this_thread::sleep_for(milliseconds{2});
  }
}

void reap(pid_t pid) {
  if (pid <= 0)
    return;
  const auto deadline = Clock::now() + END_LIMIT;
  for (;;) {
    const pid_t ended = waitpid(pid, nullptr, WNOHANG);
    if (ended == pid || (ended < 0 && errno != EINTR))
      return;
    if (Clock::now() >= deadline)
      break;
    std::this_thread::sleep_for(milliseconds{5});
  }
  kill(pid, SIGKILL);
  while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
  }
}

// The helper starts with an environment of nothing but the user's language, so that the reasons
// it gives come in it. A sanitizer build passes on the sanitizers' options as well (and keeps
// the helper's standard error, above), so that a finding in the helper fails the test that made
// it, as one in this process does.
std::vector<char*> helper_environment() {
  std::vector<char*> passed;
  for (char** variable = environ; *variable; ++variable) {
    const std::string_view text = *variable;
    const std::string_view name = text.substr(0, text.find('='));
    if ((name == "LANGUAGE" || name == "LC_ALL" || name == "LC_MESSAGES" || name == "LANG") &&
        !translation::link_reasons_english())
      passed.push_back(*variable);
#ifdef QBR20G_SANITIZED
    if (name.ends_with("SAN_OPTIONS"))
      passed.push_back(*variable);
#endif
  }
  return passed;
}

std::string helper_path_override;

struct ProcessHelper {
  std::mutex mutex;
  std::shared_ptr<LinkHelper> helper;
  std::string failure; // why the last start failed; sticky like a lost helper
};

ProcessHelper& process_helper() {
  static ProcessHelper state;
  return state;
}

} // namespace

std::shared_ptr<LinkHelper> LinkHelper::start(const std::string& path, std::string* error) {
  int pair[2];
  if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair) != 0) {
    *error = errno_text(translation::filled(L_("cannot make a socket pair for %1"), {path}));
    return nullptr;
  }
  const int ours = above_stdio(pair[0]);
  const int theirs = above_stdio(pair[1]);
  if (ours < 0 || theirs < 0) {
    *error = errno_text(translation::filled(L_("cannot place the socket pair for %1"), {path}));
    if (ours >= 0)
      close(ours);
    if (theirs >= 0)
      close(theirs);
    return nullptr;
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, theirs, STDIN_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
#ifndef QBR20G_SANITIZED
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
#endif
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigset_t all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::string program = path;
  char* argv[] = {program.data(), nullptr};
  std::vector<char*> envp = helper_environment();
  envp.push_back(nullptr);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(theirs);
  if (spawned != 0) {
    close(ours);
    *error =
        translation::filled(L_("cannot start %1: %2"), {path, translation::error_reason(spawned)});
    return nullptr;
  }
  std::shared_ptr<LinkHelper> helper(new LinkHelper(ours, pid));
  if (!helper->greet(error))
    return nullptr;
  return helper;
}

std::shared_ptr<LinkHelper> LinkHelper::adopt(int socket, pid_t pid, std::string* error) {
  std::shared_ptr<LinkHelper> helper(new LinkHelper(socket, pid));
  if (!helper->greet(error))
    return nullptr;
  return helper;
}

LinkHelper::~LinkHelper() {
  if (socket_ >= 0)
    close(socket_);
  if (!reaped_)
    reap(pid_);
}

bool LinkHelper::greet(std::string* error) {
  std::lock_guard lock(mutex_);
  hp::Decoded hello;
  if (!receive(REQUEST_LIMIT, &hello)) {
    *error = translation::filled(L_("the link helper did not start: %1"), {lost_reason_});
    return false;
  }
  std::string mismatch;
  if (hello.kind != hp::Kind::Hello || hello.magic != hp::MAGIC)
    mismatch = L_("it did not greet as the link helper");
  else
    mismatch = hp::version_mismatch(hello, true);
  if (!mismatch.empty()) {
    lose(mismatch);
    *error =
        translation::filled(L_("the link helper does not fit this program: %1"), {lost_reason_});
    return false;
  }
  if (!put(hp::encode_hello())) {
    *error = translation::filled(L_("the link helper did not start: %1"), {lost_reason_});
    return false;
  }
  return true;
}

bool LinkHelper::lost() const {
  std::lock_guard lock(mutex_);
  return !lost_reason_.empty();
}

std::string LinkHelper::lost_reason() const {
  std::lock_guard lock(mutex_);
  return lost_reason_;
}

void LinkHelper::lose(const std::string& reason, bool ended) {
  if (!lost_reason_.empty())
    return;
  const std::string how = ended && pid_ > 0 ? await_end(pid_) : "";
  if (!how.empty())
    reaped_ = true;
  else if (pid_ > 0)
    kill(pid_, SIGKILL); // a hung helper is not left running; the destructor reaps it
  if (reason.empty())
    lost_reason_ = how.empty() ? L_("it ended") : how;
  else
    lost_reason_ = how.empty() ? reason : reason + "; " + how;
  shutdown(socket_, SHUT_RDWR);
}

bool LinkHelper::receive(milliseconds limit, hp::Decoded* reply) {
  const auto deadline = Clock::now() + limit;
  buffer_.resize(hp::MAX_MESSAGE_SIZE);
  for (;;) {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
    pollfd waiting{socket_, POLLIN, 0};
    const int ready = poll(&waiting, 1, static_cast<int>(std::max(left, milliseconds{0}).count()));
    if (ready < 0 && errno == EINTR)
      continue;
    if (ready < 0) {
      lose(errno_text(L_("waiting for it failed")));
      return false;
    }
    if (ready == 0) {
      lose(translation::filled(L_("it did not answer within %1 ms"),
                               {std::to_string(limit.count())}));
      return false;
    }
    const ssize_t size = recv(socket_, buffer_.data(), buffer_.size(), MSG_TRUNC);
    if (size < 0 && errno == EINTR)
      continue;
    if (size < 0 && errno == ECONNRESET) {
      lose("", true);
      return false;
    }
    if (size < 0) {
      lose(errno_text(L_("reading from it failed")));
      return false;
    }
    if (size == 0) {
      lose("", true);
      return false;
    }
    std::string why;
    if (static_cast<std::size_t>(size) > buffer_.size() ||
        !hp::decode(buffer_.data(), static_cast<std::size_t>(size), reply, &why)) {
      // TRANSLATORS: %1 is the protocol's own English words for what was wrong.
      lose(translation::filled(L_("its reply was malformed (%1)"), {why}));
      return false;
    }
    if (reply->kind == hp::Kind::Error) {
      lose(reply->text, true); // it ends after an Error
      return false;
    }
    return true;
  }
}

bool LinkHelper::put(const hp::Message& message) {
  for (;;) {
    const ssize_t sent = ::send(socket_, message.data(), message.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR)
      continue;
    if (sent == static_cast<ssize_t>(message.size()))
      return true;
    if (sent < 0 && (errno == EPIPE || errno == ECONNRESET))
      lose("", true); // it went away; how it ended is the reason
    else if (sent < 0)
      lose(errno_text(L_("writing to it failed")));
    else
      lose(L_("a request was cut"));
    return false;
  }
}

bool LinkHelper::round_trip(const hp::Message& request, milliseconds limit, hp::Decoded* reply) {
  return lost_reason_.empty() && put(request) && receive(limit, reply);
}

bool LinkHelper::call(const hp::Message& request, hp::Kind expected, milliseconds limit,
                      hp::Decoded* reply, std::string* error) {
  if (round_trip(request, limit, reply) && reply->kind != expected) {
    hp::Kind asked{};
    hp::Body body{};
    hp::split(request.data(), request.size(), &asked, &body, nullptr);
    // TRANSLATORS: %1 and %2 are kinds of the protocol's messages, in English ("open request").
    lose(translation::filled(L_("it answered a %1 with a %2"),
                             {hp::kind_name(asked), hp::kind_name(reply->kind)}));
  }
  if (lost_reason_.empty())
    return true;
  if (error)
    *error = translation::filled(L_("the link helper was lost: %1"), {lost_reason_});
  return false;
}

bool LinkHelper::exchange(const hp::Message& request, hp::Decoded* reply) {
  std::lock_guard lock(mutex_);
  return round_trip(request, REQUEST_LIMIT, reply);
}

int LinkHelper::list_adapters(std::vector<HelperAdapter>* adapters, std::string* error) {
  std::lock_guard lock(mutex_);
  hp::Decoded reply;
  if (!call(hp::encode_list_adapters(), hp::Kind::Adapters, REQUEST_LIMIT, &reply, error))
    return -1;
  if (reply.status != 0) {
    *error = reply.text;
    return -1;
  }
  adapters->clear();
  for (const hp::AdapterRecord& record : reply.adapters) {
    HelperAdapter adapter;
    hp::read_text(record.name, sizeof record.name, &adapter.name);
    hp::read_text(record.description, sizeof record.description, &adapter.description);
    adapter.flags = record.flags;
    std::memcpy(adapter.mac, record.mac, sizeof adapter.mac);
    adapters->push_back(std::move(adapter));
  }
  return 0;
}

int LinkHelper::open_capture(const std::string& name, HelperOpening* opening) {
  std::lock_guard lock(mutex_);
  hp::Decoded reply;
  *opening = {};
  if (!call(hp::encode_open_capture(name), hp::Kind::Opened, REQUEST_LIMIT, &reply,
            &opening->error)) {
    opening->status = hp::OPEN_REFUSED;
    return -1;
  }
  opening->status = reply.status;
  opening->capture = reply.capture;
  opening->link_type = reply.link_type;
  opening->error = reply.text;
  return reply.status == 0 ? 0 : -1;
}

int LinkHelper::close_capture(std::uint32_t capture) {
  std::lock_guard lock(mutex_);
  hp::Decoded reply;
  if (!call(hp::encode_close_capture(capture), hp::Kind::Closed, REQUEST_LIMIT, &reply, nullptr))
    return -1;
  return reply.status == 0 ? 0 : -1;
}

int LinkHelper::send(std::uint32_t capture, const std::uint8_t* frame, int size,
                     std::string* error) {
  if (size < 0 || size > hp::MAX_SEND_SIZE) {
    *error = translation::filled(L_("a frame of %1 bytes is not sent"), {std::to_string(size)});
    return -1;
  }
  std::lock_guard lock(mutex_);
  hp::Decoded reply;
  if (!call(hp::encode_send(capture, frame, static_cast<std::size_t>(size)), hp::Kind::Sent,
            REQUEST_LIMIT, &reply, error))
    return -1;
  if (reply.status == static_cast<std::int32_t>(hp::SendStatus::Failed)) {
    *error = reply.text; // the adapter's failure, not a refusal
    return -1;
  }
  if (reply.status != static_cast<std::int32_t>(hp::SendStatus::Sent)) {
    *error = translation::filled(L_("the link helper refused a frame: %1"), {reply.text});
    return -1;
  }
  return 0;
}

int LinkHelper::next(std::uint32_t capture, milliseconds wait, std::vector<std::uint8_t>* frame,
                     int* wire_length, std::string* error) {
  const auto wait_ms =
      static_cast<std::uint32_t>(std::clamp<milliseconds::rep>(wait.count(), 0, hp::MAX_WAIT_MS));
  std::lock_guard lock(mutex_);
  hp::Decoded reply;
  if (!call(hp::encode_next(capture, wait_ms), hp::Kind::Frame,
            milliseconds{wait_ms} + READ_REPLY_ROOM, &reply, error))
    return -1;
  if (reply.status != 1)
    return reply.status;
  // Copied while the lock is held: the next request, from any thread, overwrites the reply.
  frame->assign(reply.bytes, reply.bytes + reply.byte_count);
  *wire_length = static_cast<int>(reply.wire_length);
  return 1;
}

int LinkHelper::probe_adapter(std::uint32_t capture, milliseconds wait, std::string* error) {
  const auto wait_ms =
      static_cast<std::uint32_t>(std::clamp<milliseconds::rep>(wait.count(), 0, hp::MAX_WAIT_MS));
  std::lock_guard lock(mutex_);
  hp::Decoded reply;
  if (!call(hp::encode_probe_adapter(capture, wait_ms), hp::Kind::Probed,
            milliseconds{wait_ms} + READ_REPLY_ROOM, &reply, error))
    return -1;
  *error = reply.text;
  return reply.status;
}

std::string link_helper_path() {
  if (!helper_path_override.empty())
    return helper_path_override;
  std::error_code failed;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", failed);
  const std::filesystem::path bin =
      failed ? std::filesystem::path("/usr/bin") : program.parent_path();
  return (bin / QBR20G_LINK_HELPER_FROM_BIN).lexically_normal().string();
}

void set_link_helper_path(const std::string& path) { helper_path_override = path; }

std::shared_ptr<LinkHelper> link_helper(std::string* error) {
  ProcessHelper& state = process_helper();
  std::lock_guard lock(state.mutex);
  if (state.helper && state.helper->lost()) {
    if (error)
      *error =
          translation::filled(L_("the link helper was lost: %1"), {state.helper->lost_reason()});
    return nullptr;
  }
  if (state.helper)
    return state.helper;
  if (!state.failure.empty()) {
    if (error)
      *error = state.failure;
    return nullptr;
  }
  std::string why;
  state.helper = LinkHelper::start(link_helper_path(), &why);
  if (!state.helper) {
    state.failure = why;
    if (error)
      *error = why;
  }
  return state.helper;
}

void recover_link_helper() {
  ProcessHelper& state = process_helper();
  std::shared_ptr<LinkHelper> gone;
  {
    std::lock_guard lock(state.mutex);
    if (state.helper && state.helper->lost())
      gone = std::move(state.helper);
    state.failure.clear();
  }
}

void close_link_helper() {
  ProcessHelper& state = process_helper();
  std::shared_ptr<LinkHelper> gone;
  {
    std::lock_guard lock(state.mutex);
    gone = std::move(state.helper);
    state.failure.clear();
  }
}
