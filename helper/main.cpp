// qbr20g-link: the one program of the package that holds CAP_NET_RAW. A front end starts it
// with one end of a socket pair as its standard input; it serves that one client (see
// link/helper_protocol.h) and ends when the client closes its end.
//
// It trusts nothing it did not choose: the environment is cleared (but for the language of its
// messages, a list of plain names), arguments are refused, descriptors beyond the standard three
// are closed, every capability but CAP_NET_RAW is given up, and no-new-privs is set. It runs no
// other program.
//
// When it cannot serve (limits too low, a thread that cannot start) it ends with status 2 and
// says why in one line: to the client in place of its greeting, and on standard error.
#include <fcntl.h>
#include <linux/capability.h>
#include <malloc.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "helper/capture_closer.h"
#include "helper/link_service.h"
#include "helper/pcap_backend.h"
#include "helper/small_thread.h"
#include "link/translation.h"

namespace hp = helper_protocol;

namespace {

constexpr int CLIENT = STDIN_FILENO;
constexpr int EXIT_BAD_START = 2;
constexpr int EXIT_MALFORMED_REQUEST = 3;
constexpr int EXIT_FAILED = 4;

// The standard three, the client, the captures open at once and as many being closed, a probe
// watch, and what libpcap opens for a moment while it lists or opens.
constexpr rlim_t NEEDED_DESCRIPTORS = 16;

// Whether standard input is a client's socket pair, where a refusal is told as well.
bool client_connected = false;

bool send_message(const hp::Message& message) {
  for (;;) {
    const ssize_t sent = send(CLIENT, message.data(), message.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR)
      continue;
    return sent == static_cast<ssize_t>(message.size());
  }
}

void tell(const std::string& why) {
  std::fprintf(stderr, "qbr20g-link: %s\n%s\n", why.c_str(),
               // TRANSLATORS: qbr20g-link's standard error, below the reason it did not start.
               _("This helper captures and sends the QBR20G's frames for qbr20g-setup and "
                 "qbr20g-cli, which start it themselves; it is not run by hand."));
  if (client_connected)
    send_message(hp::encode_error(why));
}

[[noreturn]] void refuse_start(const std::string& why) {
  tell(why);
  // Threads may be running; nothing is left to tidy that the kernel does not.
  _exit(EXIT_BAD_START);
}

// Keeps CAP_NET_RAW (when held) and nothing else, for this process and anything after it.
bool keep_only_raw_capture() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2] = {};
  if (syscall(SYS_capget, &header, data) != 0)
    return false;
  const __u32 raw = 1u << CAP_NET_RAW;
  const __u32 kept = data[0].permitted & raw;
  data[0] = {kept, kept, 0};
  data[1] = {0, 0, 0};
  if (syscall(SYS_capset, &header, data) != 0)
    return false;
  prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_CLEAR_ALL, 0, 0, 0);
  return true;
}

bool client_is_socket_pair() {
  int domain = 0;
  int type = 0;
  socklen_t size = sizeof domain;
  if (getsockopt(CLIENT, SOL_SOCKET, SO_DOMAIN, &domain, &size) != 0)
    return false;
  size = sizeof type;
  if (getsockopt(CLIENT, SOL_SOCKET, SO_TYPE, &type, &size) != 0)
    return false;
  return domain == AF_UNIX && type == SOCK_SEQPACKET;
}

void harden(int argc) {
  // The language chosen from the environment (a list of plain names) outlives the environment.
  const char* asked = std::getenv("LANGUAGE");
  const std::string language = asked ? asked : "";
  clearenv();
  if (!language.empty())
    setenv("LANGUAGE", language.c_str(), 1);
  client_connected = client_is_socket_pair();
  if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
    refuse_start(_("cannot set no-new-privs"));
  // Nothing about this process may be read by a debugger or left in a core file.
  prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
  const rlimit no_core{0, 0};
  setrlimit(RLIMIT_CORE, &no_core);
  close_range(3, ~0u, 0);
  for (int fd = 0; fd <= 2; ++fd)
    fcntl(fd, F_SETFD, FD_CLOEXEC);
  umask(077);
  signal(SIGPIPE, SIG_IGN);
  if (!keep_only_raw_capture())
    refuse_start(_("cannot give up the capabilities it does not need"));
  if (argc != 1)
    refuse_start(_("takes no arguments"));
  if (!client_connected)
    refuse_start(_("its standard input is not a socket pair from qbr20g-setup or qbr20g-cli"));
}

// Raises the soft limit of open files as far as needed when the hard one allows.
void ensure_descriptors() {
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) != 0 || files.rlim_cur >= NEEDED_DESCRIPTORS)
    return;
  if (files.rlim_max != RLIM_INFINITY && files.rlim_max < NEEDED_DESCRIPTORS)
    refuse_start(
        translation::filled(_("a limit of %1 open files is below the %2 it needs "
                              "(ulimit -n)"),
                            {std::to_string(files.rlim_max), std::to_string(NEEDED_DESCRIPTORS)}));
  files.rlim_cur = NEEDED_DESCRIPTORS;
  if (setrlimit(RLIMIT_NOFILE, &files) != 0)
    refuse_start(translation::filled(_("cannot raise its limit of open files to %1"),
                                     {std::to_string(NEEDED_DESCRIPTORS)}));
}

// False once the client has closed its end, or only its writing half (it will ask nothing
// more), or the connection broke.
bool client_still_there() {
  pollfd client{CLIENT, POLLRDHUP, 0};
  return poll(&client, 1, 0) == 0 ||
         (client.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL)) == 0;
}

// Greets, then answers requests until the client goes. The exit status.
int serve(LinkService& service) {
  if (!send_message(hp::encode_hello()))
    return 0;
  std::vector<std::uint8_t> request(hp::MAX_MESSAGE_SIZE);
  for (;;) {
    const ssize_t size = recv(CLIENT, request.data(), request.size(), MSG_TRUNC);
    if (size < 0 && errno == EINTR)
      continue;
    if (size <= 0)
      return 0;
    if (static_cast<std::size_t>(size) > request.size()) {
      send_message(hp::encode_error("malformed request: longer than any message"));
      return EXIT_MALFORMED_REQUEST;
    }
    bool end = false;
    const hp::Message reply =
        service.handle(request.data(), static_cast<std::size_t>(size), client_still_there, &end);
    if (!reply.empty() && !send_message(reply))
      return 0;
    if (end)
      return EXIT_MALFORMED_REQUEST;
  }
}

} // namespace

int main(int argc, char** argv) {
  (void)argv;
  translation::set_up_messages(QBR20G_LOCALE_FROM_HELPER);
  harden(argc);
  ensure_descriptors();
  // One malloc arena: each further one reserves 64 MiB of address space, which a low limit
  // (ulimit -v) would not leave.
  mallopt(M_ARENA_MAX, 1);
  try {
    std::string error;
    CaptureCloser closer;
    if (!closer.start(&error))
      refuse_start(error);
    std::unique_ptr<LinkBackend> backend = make_pcap_backend();
    LinkService service(
        *backend, [&closer](std::shared_ptr<void> closing) { closer.close(std::move(closing)); });
    // The service runs on a stack of its own size, whatever RLIMIT_STACK says.
    int status = 0;
    std::unique_ptr<SmallThread> server = SmallThread::start(
        [&] {
          try {
            status = serve(service);
          } catch (const std::exception& failure) {
            // TRANSLATORS: %1 is the C++ library's own English words.
            tell(translation::filled(_("failed: %1"), {failure.what()}));
            status = EXIT_FAILED;
          }
        },
        SERVICE_STACK_SIZE, &error);
    if (!server)
      refuse_start(error);
    server.reset();
    return status;
  } catch (const std::bad_alloc&) {
    refuse_start(_("out of memory (ulimit -v)"));
  } catch (const std::exception& failure) {
    refuse_start(failure.what());
  }
}
