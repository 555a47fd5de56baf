// What adapter selection needs from the system: the adapter list, an adapter's own MAC and a
// capture on it. The front ends reach them through the link helper (helper_adapter_access.h);
// the helper itself, the emulator and some tests use libpcap directly (pcap_adapter_access.h);
// unit tests put a scripted set of adapters in its place so the selection rules can be checked
// without privileges.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "link/capture_handle.h"

struct AdapterInfo {
  std::string name;
  std::string description; // empty when the system gives none
  std::uint32_t flags = 0; // PCAP_IF_* of pcap_findalldevs
};

struct CaptureOpening {
  std::unique_ptr<CaptureHandle> capture; // null when the open failed
  int link_type = 0;                      // DLT_* of the open capture
  int status = 0;                         // libpcap status of a failed open
  std::string error;
};

class AdapterAccess {
public:
  virtual ~AdapterAccess() = default;
  // Fills *adapters in enumeration order. Returns 0, or -1 with the reason in *error.
  virtual int list_adapters(std::vector<AdapterInfo>* adapters, std::string* error) = 0;
  // The adapter's current Ethernet MAC. Returns 0, or -1 when it has none.
  virtual int read_mac(const char* name, std::uint8_t* mac) = 0;
  // A live capture of the link's frames on the adapter (see PcapCapture::open).
  virtual CaptureOpening open_capture(const char* name) = 0;
  // The start-up test of an adapter: sends its probe (100 bytes to broadcast from `mac`, its
  // own) and tells whether it went out on the wire within `wait`. `capture` is open on the
  // adapter. 1 it went out, 0 it did not, -1 it could not be tried; the reason of 0 and -1 in
  // *error.
  virtual int probe_adapter(const char* name, const std::uint8_t* mac, CaptureHandle& capture,
                            std::chrono::milliseconds wait, std::string* error) = 0;
};

// The access in use: the calling thread's link channel's own, else the process's, which is the
// link helper unless replaced.
AdapterAccess& adapter_access();
// Installs `access` (null restores the system one) and returns the one it replaces.
std::unique_ptr<AdapterAccess> replace_adapter_access(std::unique_ptr<AdapterAccess> access);
