// The system's adapters: pcap_findalldevs, SIOCGIFHWADDR and PcapCapture.
#include <pcap/pcap.h>

#include "link/adapter_access.h"
#include "link/interface_mac.h"
#include "link/pcap_capture.h"

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
};

std::unique_ptr<AdapterAccess>& installed_access() {
  static std::unique_ptr<AdapterAccess> access = std::make_unique<PcapAdapterAccess>();
  return access;
}

} // namespace

AdapterAccess& adapter_access() { return *installed_access(); }

std::unique_ptr<AdapterAccess> replace_adapter_access(std::unique_ptr<AdapterAccess> access) {
  auto previous = std::move(installed_access());
  installed_access() = access ? std::move(access) : std::make_unique<PcapAdapterAccess>();
  return previous;
}
