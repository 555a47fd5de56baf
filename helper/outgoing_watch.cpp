#include "helper/outgoing_watch.h"

#include <arpa/inet.h>
#include <linux/if_ether.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "helper/link_filter.h"
#include "link/translation.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

std::string errno_text(const std::string& what) { return what + ": " + std::strerror(errno); }

class PacketWatch : public OutgoingWatch {
public:
  PacketWatch(int socket, const std::uint8_t* frame, int size)
      : socket_(socket), frame_(frame, frame + size) {}
  ~PacketWatch() override { close(socket_); }
  PacketWatch(const PacketWatch&) = delete;
  PacketWatch& operator=(const PacketWatch&) = delete;

  bool seen(milliseconds wait) override {
    const auto deadline = Clock::now() + wait;
    std::vector<std::uint8_t> received(frame_.size() + 1);
    for (;;) {
      const auto left = std::max(std::chrono::duration_cast<milliseconds>(deadline - Clock::now()),
                                 milliseconds{0});
      pollfd waiting{socket_, POLLIN, 0};
      const int ready = poll(&waiting, 1, static_cast<int>(left.count()));
      if (ready < 0 && errno == EINTR)
        continue;
      if (ready <= 0)
        return false;
      const ssize_t size = recv(socket_, received.data(), received.size(), MSG_DONTWAIT);
      // The kernel's filter passes the frame alone; comparing it again costs nothing.
      if (size == static_cast<ssize_t>(frame_.size()) &&
          std::equal(frame_.begin(), frame_.end(), received.begin()))
        return true;
      if (size < 0 && errno != EAGAIN && errno != EINTR)
        return false;
    }
  }

private:
  int socket_;
  std::vector<std::uint8_t> frame_;
};

} // namespace

std::unique_ptr<OutgoingWatch> make_outgoing_watch(const std::string& adapter,
                                                   const std::uint8_t* frame, int size,
                                                   std::string* error) {
  const unsigned index = if_nametoindex(adapter.c_str());
  if (index == 0) {
    *error = errno_text(translation::filled(_("cannot watch %1"), {adapter}));
    return nullptr;
  }
  // Protocol 0: the socket receives nothing until it is bound below, after its filter is on.
  const int socket = ::socket(AF_PACKET, SOCK_RAW | SOCK_CLOEXEC, 0);
  if (socket < 0) {
    *error = errno_text(translation::filled(_("cannot watch %1 (socket)"), {adapter}));
    return nullptr;
  }
  auto watch = std::make_unique<PacketWatch>(socket, frame, size);
  if (lock_outgoing_filter(socket, frame, size, error) != 0)
    return nullptr;
  sockaddr_ll address{};
  address.sll_family = AF_PACKET;
  address.sll_protocol = htons(ETH_P_ALL);
  address.sll_ifindex = static_cast<int>(index);
  if (bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    *error = errno_text(translation::filled(_("cannot watch %1 (bind)"), {adapter}));
    return nullptr;
  }
  return watch;
}
