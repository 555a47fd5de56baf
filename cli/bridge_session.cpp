#include "cli/bridge_session.h"

#include <pcap/pcap.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "cli/exit_status.h"
#include "cli/progress_line.h"
#include "device/discovery.h"
#include "link/adapter_access.h"
#include "link/adapter_failure_text.h"
#include "link/adapter_selection.h"
#include "link/capture_handle.h"
#include "link/frame_exchange.h"
#include "link/link_frame.h"
#include "link/link_helper.h"
#include "link/link_timing.h"
#include "link/mac_text.h"

namespace {

std::string open_adapter; // the adapter whose capture is open, by MAC text

void print_failure(AdapterSearchFailure failure, const std::string& error) {
  const AdapterFailureText text =
      adapter_failure_text(failure, error, link_helper_path(), find_setcap(), "qbr20g-cli");
  std::fprintf(stderr, "%s\n\n%s\n", text.primary.c_str(), text.secondary.c_str());
}

int refuse_adapter(const std::string& message) {
  std::fprintf(stderr, "qbr20g-cli: %s\n", message.c_str());
  return EXIT_NO_ADAPTER;
}

struct ListedAdapter {
  AdapterInfo info;
  std::string mac; // MAC text; empty when the adapter has no Ethernet MAC
};

// The adapters the helper lists, each with its MAC text. False (and told, unless `quiet`) when
// the helper cannot list them.
bool list_adapters_with_macs(std::vector<ListedAdapter>* adapters, bool quiet) {
  std::vector<AdapterInfo> listed;
  std::string error;
  if (adapter_access().list_adapters(&listed, &error) != 0) {
    if (!quiet)
      print_failure(AdapterSearchFailure::ListingFailed, error);
    return false;
  }
  for (AdapterInfo& adapter : listed) {
    std::uint8_t mac[MAC_SIZE];
    char text[MAC_TEXT_SIZE];
    const bool has_mac = query_adapter_mac(adapter.name.c_str(), text, mac) == 0;
    adapters->push_back({std::move(adapter), has_mac ? text : ""});
  }
  return true;
}

int find_named_adapter(const std::string& name, std::vector<CliAdapter>* adapters) {
  std::vector<ListedAdapter> listed;
  if (!list_adapters_with_macs(&listed, false))
    return EXIT_NO_ADAPTER;
  const auto found = std::find_if(listed.begin(), listed.end(), [&](const ListedAdapter& adapter) {
    return adapter.info.name == name;
  });
  if (found == listed.end() || found->mac.empty() || (found->info.flags & PCAP_IF_LOOPBACK))
    return refuse_adapter(name + " is not a wired Ethernet adapter of this computer "
                                 "('qbr20g-cli adapters' lists those that can be used)");
  if (is_wireless_adapter(found->info))
    return refuse_adapter(name + " is a Wi-Fi adapter; the bridge is reached on a wired one");
  if (!(found->info.flags & PCAP_IF_UP))
    return refuse_adapter(name + " is down; bring it up first (ip link set " + name + " up)");
  if ((found->info.flags & PCAP_IF_CONNECTION_STATUS) == PCAP_IF_CONNECTION_STATUS_DISCONNECTED)
    return refuse_adapter(name + " has no link: plug the bridge's cable into it");

  CaptureOpening opening = adapter_access().open_capture(name.c_str());
  if (!opening.capture || opening.link_type != DLT_EN10MB) {
    const bool denied = opening.status == PCAP_ERROR_PERM_DENIED ||
                        opening.status == PCAP_ERROR_PROMISC_PERM_DENIED;
    print_failure(denied ? AdapterSearchFailure::PermissionDenied
                         : AdapterSearchFailure::NoUsableAdapter,
                  opening.error);
    return EXIT_NO_ADAPTER;
  }
  capture_handle = std::move(opening.capture);
  open_adapter = found->mac;
  adapters->push_back({name, found->mac});
  return EXIT_DONE;
}

std::string names_of(const std::vector<CliAdapter>& adapters) {
  std::string names;
  for (const CliAdapter& adapter : adapters)
    names += (names.empty() ? "" : ", ") + adapter.name;
  return names;
}

// One discovery over `adapters` (the first that has bridges wins); appends what it found.
void discover_on(const std::vector<CliAdapter>& adapters, ProgressLine& progress,
                 std::vector<CliBridge>* bridges) {
  char hosts[HOST_ADAPTER_LIST_SIZE] = {};
  for (std::size_t i = 0; i < adapters.size() && i < MAX_USABLE_ADAPTERS; ++i)
    std::memcpy(hosts + MAC_TEXT_LENGTH * i, adapters[i].mac.c_str(), MAC_TEXT_LENGTH);
  // Quiet wire: the wait after the probe runs out after its tick limit, then each bridge found
  // gets its pause.
  const auto& timing = link_timing();
  progress.Show("Looking for bridges on " + names_of(adapters),
                timing.tick_period * (DISCOVERY_TICK_LIMIT + 1) + timing.unicast_probe_pause);
  std::uint8_t frame[MAX_FRAME_SIZE];
  char devices[DEVICE_LIST_SIZE] = {};
  const int result = [&] {
    LinkTicks ticks;
    return discover_devices(frame, frame, hosts, devices);
  }();
  progress.Clear();
  open_adapter.clear();
  if (result != 0)
    return;
  const std::string answered(hosts, MAC_TEXT_LENGTH);
  open_adapter = answered;
  const auto adapter =
      std::find_if(adapters.begin(), adapters.end(),
                   [&](const CliAdapter& candidate) { return candidate.mac == answered; });
  for (int i = 0; i < mac_list_count(devices); ++i) {
    const std::string mac(devices + MAC_TEXT_LENGTH * i, MAC_TEXT_LENGTH);
    bridges->push_back({mac, adapter != adapters.end() ? *adapter : CliAdapter{"", answered}});
  }
}

} // namespace

int find_cli_adapters(const std::string& only, std::vector<CliAdapter>* adapters) {
  if (!only.empty())
    return find_named_adapter(only, adapters);
  char list[HOST_ADAPTER_LIST_SIZE] = {};
  if (find_usable_adapters(list) != 0) {
    print_failure(last_adapter_search_failure(), last_adapter_open_error());
    return EXIT_NO_ADAPTER;
  }
  // The search gives MACs; their names come from the listing (first of a MAC wins, as
  // reopen_adapter takes it).
  std::vector<ListedAdapter> listed;
  list_adapters_with_macs(&listed, true);
  for (int i = 0; i < mac_list_count(list); ++i) {
    const std::string mac(list + MAC_TEXT_LENGTH * i, MAC_TEXT_LENGTH);
    const auto named =
        std::find_if(listed.begin(), listed.end(),
                     [&](const ListedAdapter& adapter) { return adapter.mac == mac; });
    adapters->push_back({named != listed.end() ? named->info.name : "", mac});
  }
  open_adapter.clear(); // start-up leaves the capture on whichever adapter it tried last
  return EXIT_DONE;
}

void discover_bridges(const std::vector<CliAdapter>& adapters, bool every_adapter,
                      ProgressLine& progress, std::vector<CliBridge>* bridges) {
  if (!every_adapter) {
    discover_on(adapters, progress, bridges);
    return;
  }
  for (const CliAdapter& adapter : adapters) {
    if (link_stop_requested())
      return;
    discover_on({adapter}, progress, bridges);
  }
}

bool use_adapter(const CliAdapter& adapter) {
  if (adapter.mac == open_adapter && capture_handle)
    return true;
  open_adapter.clear();
  CaptureOpening opening = adapter_access().open_capture(adapter.name.c_str());
  capture_handle = std::move(opening.capture);
  if (!capture_handle || opening.link_type != DLT_EN10MB)
    return false;
  open_adapter = adapter.mac;
  return true;
}
