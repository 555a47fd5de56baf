// The helper's system: libpcap for the adapter list and the captures, the kernel for each
// interface's hardware type and address, for the direction and the filter that keep a capture
// to the 0x8888 frames that reach the adapter, and for the watch of the start-up probe.
#pragma once

#include <memory>

#include "helper/link_service.h"

std::unique_ptr<LinkBackend> make_pcap_backend();
