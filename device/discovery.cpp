#include "device/discovery.h"

#include <cstring>

#include "link/adapter_selection.h"
#include "link/frame_exchange.h"
#include "link/link_frame.h"
#include "link/link_timing.h"
#include "link/mac_text.h"

static_assert(MAX_DEVICES * MAC_TEXT_LENGTH < DEVICE_LIST_SIZE);

namespace {

using Clock = std::chrono::steady_clock;

bool listed(const char* device_list, int count, const char* text) {
  for (int i = 0; i < count; ++i)
    if (std::memcmp(device_list + MAC_TEXT_LENGTH * i, text, MAC_TEXT_LENGTH) == 0)
      return true;
  return false;
}

} // namespace

bool could_be_bridge(const std::uint8_t* mac, const char* host_macs) {
  if (is_group_mac(mac) || is_zero_mac(mac) || is_host_adapter_mac(mac))
    return false;
  char text[MAC_TEXT_SIZE];
  mac_bytes_to_text(mac, text);
  return !listed(host_macs, mac_list_count(host_macs), text);
}

bool collect_probe_replies(std::uint8_t* frame, std::uint8_t* receive, const std::uint8_t* own,
                           const char* host_macs, char* device_list, int* count,
                           const std::function<bool()>& keep_listening) {
  send_frame(frame, build_probe_request(frame, own, BROADCAST_MAC));
  bool answered = false;
  const auto window_end = Clock::now() + link_timing().tick_period * DISCOVERY_REPLY_WINDOW_TICKS;
  while (Clock::now() < window_end && receive_frame(own, BROADCAST_MAC, LINK_ETHERTYPE, receive,
                                                    MAX_FRAME_SIZE, DISCOVERY_TICK_LIMIT) > 0) {
    // A frame from a group, zero or own address is no bridge: the device list must never offer
    // an address that reaches every bridge, or this host itself.
    if (!could_be_bridge(receive + 6, host_macs))
      continue;
    answered = true;
    char source[MAC_TEXT_SIZE];
    frame_source_mac_text(receive, MAX_FRAME_SIZE, source);
    if (listed(device_list, *count, source) || *count == MAX_DEVICES)
      continue;
    std::memcpy(device_list + MAC_TEXT_LENGTH * *count, source, MAC_TEXT_SIZE);
    ++*count;
    if (keep_listening && !keep_listening())
      break;
  }
  return answered;
}

bool probe_each_bridge(std::uint8_t* frame, const std::uint8_t* own, const char* device_list,
                       int count, std::chrono::milliseconds pause) {
  for (int i = 0; i < count; ++i) {
    std::uint8_t bridge[MAC_SIZE];
    char text[MAC_TEXT_SIZE];
    std::memcpy(text, device_list + MAC_TEXT_LENGTH * i, MAC_TEXT_LENGTH);
    text[MAC_TEXT_LENGTH] = '\0';
    mac_text_to_bytes(text, bridge);
    send_frame(frame, build_probe_request(frame, own, bridge));
    if (pause.count() > 0 && !link_pause(pause))
      return false;
  }
  return true;
}

int discover_devices(std::uint8_t* frame, std::uint8_t* receive, char* host_macs,
                     char* device_list) {
  clear_link_failure();
  // The whole list as it came: the cut below leaves one adapter, and the others are still ours.
  char hosts_given[HOST_ADAPTER_LIST_SIZE] = {};
  std::memcpy(hosts_given, host_macs, strnlen(host_macs, HOST_ADAPTER_LIST_SIZE - 1));
  std::uint8_t own[MAC_SIZE] = {};
  int devices = 0;

  const int hosts = mac_list_count(hosts_given);
  for (int i = 0; i < hosts && !link_stop_requested(); ++i) {
    char host[MAC_TEXT_SIZE];
    std::memcpy(host, hosts_given + MAC_TEXT_LENGTH * i, MAC_TEXT_LENGTH);
    host[MAC_TEXT_LENGTH] = '\0';
    if (reopen_adapter(host) != 0)
      continue;
    mac_text_to_bytes(host, own);
    if (collect_probe_replies(frame, receive, own, hosts_given, device_list, &devices)) {
      // Once an adapter has bridges, the later ones are not probed.
      std::memcpy(host_macs, host, MAC_TEXT_SIZE);
      break;
    }
  }
  if (devices == 0)
    return -1;
  probe_each_bridge(frame, own, device_list, devices, link_timing().unicast_probe_pause);
  return 0;
}
