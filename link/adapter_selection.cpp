#include "link/adapter_selection.h"

#include <pcap/pcap.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <mutex>
#include <vector>

#include "link/adapter_access.h"
#include "link/capture_handle.h"
#include "link/link_channel.h"
#include "link/link_frame.h"
#include "link/link_timing.h"
#include "link/mac_text.h"

static_assert(MAX_USABLE_ADAPTERS * MAC_TEXT_LENGTH < USABLE_ADAPTER_LIST_ROOM);
static_assert((MAX_USABLE_ADAPTERS + 1) * MAC_TEXT_LENGTH >= USABLE_ADAPTER_LIST_ROOM);
static_assert(USABLE_ADAPTER_LIST_ROOM <= HOST_ADAPTER_LIST_SIZE);

namespace {

// The enumeration that count_adapters holds for probe_adapters.
std::vector<AdapterInfo> held_adapters;

AdapterSearchFailure search_failure = AdapterSearchFailure::None;
bool open_denied = false;
bool listing_failed = false;
std::string open_error;

std::mutex host_macs_mutex;
std::vector<std::array<std::uint8_t, MAC_SIZE>> host_macs;

// Keeps every listed adapter's MAC, for is_host_adapter_mac.
void remember_host_macs(const std::vector<AdapterInfo>& adapters) {
  std::vector<std::array<std::uint8_t, MAC_SIZE>> macs;
  for (const AdapterInfo& adapter : adapters) {
    std::array<std::uint8_t, MAC_SIZE> mac;
    if (adapter_access().read_mac(adapter.name.c_str(), mac.data()) == 0)
      macs.push_back(mac);
  }
  std::lock_guard lock(host_macs_mutex);
  for (const auto& mac : macs)
    if (std::find(host_macs.begin(), host_macs.end(), mac) == host_macs.end())
      host_macs.push_back(mac);
}

bool never_wired(const AdapterInfo& adapter) {
  return is_wireless_adapter(adapter) || (adapter.flags & PCAP_IF_LOOPBACK);
}

// A down adapter, or one without carrier, cannot put its probe on the wire; passing it over
// here saves the wait for a probe that never shows.
bool cannot_send(const AdapterInfo& adapter) {
  return !(adapter.flags & PCAP_IF_UP) ||
         (adapter.flags & PCAP_IF_CONNECTION_STATUS) == PCAP_IF_CONNECTION_STATUS_DISCONNECTED;
}

void note_open_failure(const CaptureOpening& opening) {
  open_error = opening.error;
  if (opening.status == PCAP_ERROR_PERM_DENIED || opening.status == PCAP_ERROR_PROMISC_PERM_DENIED)
    open_denied = true;
}

// Replaces capture_handle with a capture on `name`. True when it is open on Ethernet.
bool open_capture_handle(const char* name) {
  CaptureOpening opening = adapter_access().open_capture(name);
  std::unique_ptr<CaptureHandle>& capture = link_channel().capture;
  capture = std::move(opening.capture);
  if (!capture) {
    note_open_failure(opening);
    return false;
  }
  return opening.link_type == DLT_EN10MB;
}

// The start-up probe, sent on the adapter whose capture is open: usable when it goes out on
// the wire within the wait. A down or unplugged adapter's probe never does.
bool adapter_sends_probe(const char* name, const std::uint8_t* mac) {
  std::string error;
  const int result = adapter_access().probe_adapter(name, mac, *link_channel().capture,
                                                    link_timing().adapter_probe_wait, &error);
  // Not going out is what the probe is for; a probe that could not be tried has a reason.
  if (result < 0)
    open_error = error;
  return result > 0;
}

} // namespace

int find_usable_adapters(char* list) {
  open_denied = false;
  listing_failed = false;
  open_error.clear();
  int count = 0;
  int result = count_adapters(&count);
  if (result == 0)
    result = probe_adapters(count, list);
  if (result == 0)
    search_failure = AdapterSearchFailure::None;
  else if (listing_failed)
    search_failure = AdapterSearchFailure::ListingFailed;
  else
    search_failure = open_denied ? AdapterSearchFailure::PermissionDenied
                                 : AdapterSearchFailure::NoUsableAdapter;
  return result;
}

int count_adapters(int* count) {
  held_adapters.clear();
  std::string error;
  if (adapter_access().list_adapters(&held_adapters, &error) != 0) {
    listing_failed = true;
    open_error = error;
    held_adapters.clear();
    return -1;
  }
  if (held_adapters.empty())
    return -1;
  remember_host_macs(held_adapters);
  *count = static_cast<int>(held_adapters.size());
  return 0;
}

int probe_adapters(int count, char* list) {
  const std::vector<AdapterInfo> adapters = std::move(held_adapters);
  held_adapters.clear();

  int result = -1;
  char working[USABLE_ADAPTER_LIST_ROOM] = {};
  int listed = 0;
  const int last = std::min(count, static_cast<int>(adapters.size())) - 1;
  for (int index = last; index >= 0 && listed < MAX_USABLE_ADAPTERS; --index) {
    const AdapterInfo& adapter = adapters[static_cast<std::size_t>(index)];
    if (never_wired(adapter) || cannot_send(adapter))
      continue;
    char text[MAC_TEXT_SIZE];
    std::uint8_t mac[MAC_SIZE];
    if (query_adapter_mac(adapter.name.c_str(), text, mac) != 0)
      continue;
    // An adapter that cannot be opened or is not Ethernet is passed over: tried from the last
    // entry, stopping here would end on a pseudo-device before any wired adapter is reached.
    if (!open_capture_handle(adapter.name.c_str()))
      continue;
    if (!adapter_sends_probe(adapter.name.c_str(), mac))
      continue;
    std::memcpy(working + MAC_TEXT_LENGTH * listed, text, MAC_TEXT_LENGTH);
    ++listed;
    result = 0;
  }
  if (result == 0)
    std::memcpy(list, working, sizeof working);
  return result;
}

int query_adapter_mac(const char* name, char* text, std::uint8_t* mac) {
  if (adapter_access().read_mac(name, mac) != 0)
    return -1;
  mac_bytes_to_text(mac, text);
  return 0;
}

int reopen_adapter(const char* mac_text) {
  std::vector<AdapterInfo> adapters;
  std::string error;
  if (list_host_adapters(&adapters, &error) != 0)
    return -1;
  for (const AdapterInfo& adapter : adapters) {
    char text[MAC_TEXT_SIZE];
    std::uint8_t mac[MAC_SIZE];
    if (query_adapter_mac(adapter.name.c_str(), text, mac) != 0)
      continue;
    if (std::strcmp(text, mac_text) == 0)
      return open_capture_handle(adapter.name.c_str()) ? 0 : -1;
  }
  return 0;
}

int list_host_adapters(std::vector<AdapterInfo>* adapters, std::string* error) {
  if (adapter_access().list_adapters(adapters, error) != 0)
    return -1;
  remember_host_macs(*adapters);
  return 0;
}

bool is_host_adapter_mac(const std::uint8_t* mac) {
  std::lock_guard lock(host_macs_mutex);
  for (const auto& host : host_macs)
    if (std::memcmp(host.data(), mac, MAC_SIZE) == 0)
      return true;
  return false;
}

AdapterSearchFailure last_adapter_search_failure() { return search_failure; }

std::string last_adapter_open_error() { return open_error; }
