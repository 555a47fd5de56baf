// The front end's side of qbr20g-link: starting the helper, one request and its reply at a
// time, and what happens when the helper goes away.
//
// The front ends (wizard, command line) hold no capability; the helper alone may capture and
// send, and only EtherType 0x8888 frames. It is started with posix_spawn: one end of a new
// socket pair as its standard input, /dev/null as its output, nothing else inherited, an empty
// environment. It ends when our end of the pair closes.
//
// A helper that dies or stops answering is "lost": every request on it fails at once, so the
// step under way fails as a lost reply would. The process keeps the lost helper until
// recover_link_helper(), which a front end calls before each user action; the next request then
// starts a new helper, and captures opened on the lost one reopen on their adapter.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/helper_protocol.h"

struct HelperAdapter {
  std::string name;
  std::string description;
  std::uint32_t flags = 0;
  std::uint8_t mac[6] = {};
};

struct HelperOpening {
  std::int32_t status = 0; // 0, OPEN_REFUSED, or libpcap's (negative) status
  std::uint32_t capture = 0;
  std::int32_t link_type = 0;
  std::string error;
};

class LinkHelper {
public:
  // Starts the helper at `path`. Returns null with the reason in *error when it cannot be
  // started or does not greet as a helper of this version.
  static std::shared_ptr<LinkHelper> start(const std::string& path, std::string* error);
  // Takes over a connected socket whose peer is a helper (process `pid`, or -1 when the caller
  // reaps it); waits for its greeting. Null with the reason in *error when it does not greet.
  static std::shared_ptr<LinkHelper> adopt(int socket, pid_t pid, std::string* error);

  ~LinkHelper(); // closes the connection; the helper then ends, and is reaped
  LinkHelper(const LinkHelper&) = delete;
  LinkHelper& operator=(const LinkHelper&) = delete;

  bool lost() const;
  // Why it was lost; empty while it is not.
  std::string lost_reason() const;
  pid_t pid() const { return pid_; }

  // Each returns 0, or -1 with the reason in *error (a lost helper, or the helper's refusal).
  int list_adapters(std::vector<HelperAdapter>* adapters, std::string* error);
  int open_capture(const std::string& name, HelperOpening* opening);
  int close_capture(std::uint32_t capture);
  int send(std::uint32_t capture, const std::uint8_t* frame, int size, std::string* error);
  // Waits at most `wait` for the next frame: 1 with *frame pointing at its captured bytes
  // (valid until the next request), 0 when none came, -1 on a failure or a lost helper.
  int next(std::uint32_t capture, std::chrono::milliseconds wait, const std::uint8_t** frame,
           int* wire_length, int* captured);

  // One request and its decoded reply, as they are (tests of the helper). Returns false when
  // no well-formed reply came; the helper is then lost.
  bool exchange(const helper_protocol::Message& request, helper_protocol::Decoded* reply);

private:
  LinkHelper(int socket, pid_t pid) : socket_(socket), pid_(pid) {}
  bool greet(std::string* error);
  // Sends `request` and reads its reply within `limit`; caller holds mutex_.
  bool round_trip(const helper_protocol::Message& request, std::chrono::milliseconds limit,
                  helper_protocol::Decoded* reply);
  bool receive(std::chrono::milliseconds limit, helper_protocol::Decoded* reply);
  void lose(const std::string& reason);

  mutable std::mutex mutex_;
  int socket_;
  pid_t pid_;
  std::string lost_reason_;
  std::vector<std::uint8_t> buffer_; // the last reply; Decoded::bytes point into it
};

// Where the helper is: set_link_helper_path's, else next to the running program
// (<bin>/../libexec/qbr20g-setup/qbr20g-link, the install and build-tree layout).
std::string link_helper_path();
void set_link_helper_path(const std::string& path);

// The process's helper, started on first use. Null, with the reason in *error, when it cannot be
// started or was lost and not yet recovered.
std::shared_ptr<LinkHelper> link_helper(std::string* error = nullptr);
// Before a user action: forgets a lost helper, so the next request starts a new one.
void recover_link_helper();
// Ends the helper now (the next request starts a new one): after moving into another network
// namespace, whose adapters a running helper would not see.
void close_link_helper();
