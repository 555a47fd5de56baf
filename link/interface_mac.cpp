#include "link/interface_mac.h"

#include <net/if.h>
#include <net/if_arp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

#include "link/link_frame.h"

namespace {

class Socket {
public:
  Socket() : fd_(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {}
  ~Socket() {
    if (fd_ >= 0)
      close(fd_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  int fd() const { return fd_; }

private:
  int fd_;
};

} // namespace

int read_interface_mac(const char* name, std::uint8_t* mac) {
  if (!name || std::strlen(name) >= IFNAMSIZ)
    return -1;
  Socket socket;
  if (socket.fd() < 0)
    return -1;
  ifreq request{};
  std::strncpy(request.ifr_name, name, IFNAMSIZ - 1);
  if (ioctl(socket.fd(), SIOCGIFHWADDR, &request) < 0)
    return -1;
  if (request.ifr_hwaddr.sa_family != ARPHRD_ETHER)
    return -1;
  std::memcpy(mac, request.ifr_hwaddr.sa_data, MAC_SIZE);
  return 0;
}
