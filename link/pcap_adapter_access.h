// The system's adapters as libpcap and the kernel give them: pcap_findalldevs, SIOCGIFHWADDR
// and PcapCapture. This needs CAP_NET_RAW to open a capture: the link helper uses it, and so do
// the emulator and the tests and benchmarks that measure the link without the helper.
#pragma once

#include <memory>

#include "link/adapter_access.h"

std::unique_ptr<AdapterAccess> make_pcap_adapter_access();
