// The front end's side of qbr20g-link: starting the helper, one request and its reply at a
// time, and what happens when the helper goes away.
//
// The front ends (wizard, command line) hold no capability; the helper alone may capture and
// send, and only EtherType 0x8888 frames. It is started with posix_spawn: one end of a new
// socket pair as its standard input, /dev/null as its output, nothing else inherited, an empty
// environment. It ends when our end of the pair closes.
//
// A helper that dies or stops answering is "lost": every request on it fails at once, so the
// step under way fails as a lost reply would, and the reason (how it ended) is kept for the user.
// The process keeps the lost helper until recover_link_helper(), which a front end calls before
// each user action; the next request then starts a new helper, and captures opened on the lost one
// reopen on their adapter.
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
  // started, refuses to start (its reason and how it ended), or is of another release.
  static std::shared_ptr<LinkHelper> start(const std::string& path, std::string* error);
  // Takes over a connected socket whose peer is a helper (process `pid`, or -1 when the caller
  // reaps it); greets it. Null with the reason in *error when it does not greet.
  static std::shared_ptr<LinkHelper> adopt(int socket, pid_t pid, std::string* error);

  ~LinkHelper(); // closes the connection; the helper then ends, and is reaped
  LinkHelper(const LinkHelper&) = delete;
  LinkHelper& operator=(const LinkHelper&) = delete;

  bool lost() const;
  // Why it was lost, with how it ended when it did; empty while it is not.
  std::string lost_reason() const;
  pid_t pid() const { return pid_; }

  // Each returns 0, or -1 with the reason in *error (a lost helper, or the helper's refusal).
  int list_adapters(std::vector<HelperAdapter>* adapters, std::string* error);
  int open_capture(const std::string& name, HelperOpening* opening);
  int close_capture(std::uint32_t capture);
  int send(std::uint32_t capture, const std::uint8_t* frame, int size, std::string* error);
  // Waits at most `wait` for the next frame: 1 with its captured bytes in *frame, 0 when none
  // came, -1 on a failure or a lost helper (with the reason in *error when there is one).
  int next(std::uint32_t capture, std::chrono::milliseconds wait, std::vector<std::uint8_t>* frame,
           int* wire_length, std::string* error);
  // Has the helper send the adapter's start-up probe on `capture` and watch for it to go out:
  // 1 it went out within `wait`, 0 it did not, -1 it could not be tried. The reason of 0 and
  // -1 in *error.
  int probe_adapter(std::uint32_t capture, std::chrono::milliseconds wait, std::string* error);

  // One request and its decoded reply, as they are (tests of the helper). Returns false when
  // no well-formed reply came; the helper is then lost.
  bool exchange(const helper_protocol::Message& request, helper_protocol::Decoded* reply);

private:
  LinkHelper(int socket, pid_t pid) : socket_(socket), pid_(pid) {}
  bool greet(std::string* error);
  // The one round trip: sends `request` and reads its reply, which must be of kind `expected`,
  // within `limit`. False with the reason in *error when the helper is lost, or is lost now.
  bool call(const helper_protocol::Message& request, helper_protocol::Kind expected,
            std::chrono::milliseconds limit, helper_protocol::Decoded* reply, std::string* error);
  // Sends `request` and reads its reply within `limit`; caller holds mutex_.
  bool round_trip(const helper_protocol::Message& request, std::chrono::milliseconds limit,
                  helper_protocol::Decoded* reply);
  bool put(const helper_protocol::Message& message);
  bool receive(std::chrono::milliseconds limit, helper_protocol::Decoded* reply);
  // Marks the helper lost. When it `ended` by itself, how it ended joins the reason; else it is
  // killed, so that a hung helper is not left running.
  void lose(const std::string& reason, bool ended = false);

  mutable std::mutex mutex_;
  int socket_;
  const pid_t pid_;     // -1 when not ours to reap
  bool reaped_ = false; // its end was collected when it was lost (under mutex_)
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
