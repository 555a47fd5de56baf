#include "link/pcap_adapter_access.h"

#include <pcap/pcap.h>

#include "link/interface_mac.h"
#include "link/pcap_capture.h"
#include "link/two_capture_probe.h"

namespace {

struct DeviceListFree {
  void operator()(pcap_if_t* list) const { pcap_freealldevs(list); }
};

class PcapAdapterAccess : public AdapterAccess {
public:
  int list_adapters(std::vector<AdapterInfo>* adapters, std::string* error) override {
    char message[PCAP_ERRBUF_SIZE] = "";
    pcap_if_t* raw = nullptr;
    if (pcap_findalldevs(&raw, message) < 0) {
      if (error)
        *error = message;
      return -1;
    }
    const std::unique_ptr<pcap_if_t, DeviceListFree> list(raw);
    adapters->clear();
    for (const pcap_if_t* device = list.get(); device; device = device->next)
      adapters->push_back(
          {device->name, device->description ? device->description : "", device->flags});
    return 0;
  }

  int read_mac(const char* name, std::uint8_t* mac) override {
    return read_interface_mac(name, mac);
  }

  CaptureOpening open_capture(const char* name) override {
    CaptureOpening opening;
    CaptureOpenError error;
    auto capture = PcapCapture::open(name, &error);
    if (!capture) {
      opening.status = error.status;
      opening.error = std::move(error.text);
      return opening;
    }
    opening.link_type = capture->link_type();
    opening.capture = std::move(capture);
    return opening;
  }

  int probe_adapter(const char* name, const std::uint8_t* mac, CaptureHandle& capture,
                    std::chrono::milliseconds wait, std::string* error) override {
    return probe_through_second_capture(*this, name, mac, capture, wait, error);
  }
};

} // namespace

std::unique_ptr<AdapterAccess> make_pcap_adapter_access() {
  return std::make_unique<PcapAdapterAccess>();
}
