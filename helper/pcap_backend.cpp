#include "helper/pcap_backend.h"

#include <fcntl.h>
#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "helper/link_filter.h"
#include "helper/outgoing_watch.h"
#include "link/pcap_adapter_access.h"
#include "link/pcap_capture.h"
#include "link/translation.h"

namespace {

std::string errno_text(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

class PcapBackend : public LinkBackend {
public:
  int list(std::vector<AdapterInfo>* adapters, std::string* error) override {
    return system_->list_adapters(adapters, error);
  }

  int hardware(const std::string& name, int* type, std::uint8_t* mac) override {
    if (name.empty() || name.size() >= IFNAMSIZ)
      return -1;
    const int probe = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (probe < 0)
      return -1;
    ifreq request{};
    std::memcpy(request.ifr_name, name.c_str(), name.size());
    const int result = ioctl(probe, SIOCGIFHWADDR, &request);
    close(probe);
    if (result < 0)
      return -1;
    *type = request.ifr_hwaddr.sa_family;
    std::memcpy(mac, request.ifr_hwaddr.sa_data, 6);
    return 0;
  }

  std::unique_ptr<CaptureHandle> open(const std::string& name, int* link_type, int* status,
                                      std::string* error) override {
    CaptureOpenError failure;
    std::unique_ptr<PcapCapture> capture = PcapCapture::open(name.c_str(), &failure);
    if (!capture) {
      *status = failure.status;
      *error = failure.text;
      return nullptr;
    }
    *status = helper_protocol::OPEN_REFUSED;
    const int descriptor = capture->descriptor();
    if (fcntl(descriptor, F_SETFD, FD_CLOEXEC) != 0) {
      *error = errno_text(_("cannot mark the capture close-on-exec"));
      return nullptr;
    }
    if (capture->set_inbound_only(error) != 0 || lock_link_filter(descriptor, error) != 0)
      return nullptr;
    // libpcap's socket took every frame from its activation until the filter went on.
    capture->drain();
    *status = 0;
    *link_type = capture->link_type();
    return capture;
  }

  std::unique_ptr<OutgoingWatch> watch_outgoing(const std::string& name, const std::uint8_t* frame,
                                                int size, std::string* error) override {
    return make_outgoing_watch(name, frame, size, error);
  }

private:
  std::unique_ptr<AdapterAccess> system_ = make_pcap_adapter_access();
};

} // namespace

std::unique_ptr<LinkBackend> make_pcap_backend() { return std::make_unique<PcapBackend>(); }
