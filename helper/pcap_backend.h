// The helper's system: libpcap for the adapter list and the captures, the kernel for each
// interface's hardware type and address, and the kernel filter that keeps a capture to
// EtherType 0x8888.
#pragma once

#include <memory>

#include "helper/link_service.h"

std::unique_ptr<LinkBackend> make_pcap_backend();
