#include "device/discovery.h"

#include <chrono>
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

int discover_devices(std::uint8_t* frame, std::uint8_t* receive, char* host_macs,
                     char* device_list) {
  clear_link_failure();
  std::uint8_t broadcast[MAC_SIZE];
  mac_text_to_bytes("ff-ff-ff-ff-ff-ff", broadcast);
  std::uint8_t own[MAC_SIZE] = {};
  int devices = 0;

  const int hosts = mac_list_count(host_macs);
  for (int i = 0; i < hosts && !link_stop_requested(); ++i) {
    char host[MAC_TEXT_SIZE];
    std::memcpy(host, host_macs + MAC_TEXT_LENGTH * i, MAC_TEXT_LENGTH);
    host[MAC_TEXT_LENGTH] = '\0';
    if (reopen_adapter(host) != 0)
      continue;
    mac_text_to_bytes(host, own);
    send_frame(frame, build_probe_request(frame, own, broadcast));

    bool answered = false;
    const auto window_end = Clock::now() + link_timing().tick_period * DISCOVERY_REPLY_WINDOW_TICKS;
    while (Clock::now() < window_end && receive_frame(own, broadcast, LINK_ETHERTYPE, receive,
                                                      MAX_FRAME_SIZE, DISCOVERY_TICK_LIMIT) > 0) {
      char source[MAC_TEXT_SIZE];
      frame_source_mac_text(receive, MAX_FRAME_SIZE, source);
      std::memcpy(host_macs, host, MAC_TEXT_SIZE);
      answered = true;
      if (listed(device_list, devices, source) || devices == MAX_DEVICES)
        continue;
      std::memcpy(device_list + MAC_TEXT_LENGTH * devices, source, MAC_TEXT_SIZE);
      ++devices;
    }
    if (answered)
      break;
  }
  if (devices == 0)
    return -1;

  for (int i = 0; i < devices; ++i) {
    std::uint8_t bridge[MAC_SIZE];
    char text[MAC_TEXT_SIZE];
    std::memcpy(text, device_list + MAC_TEXT_LENGTH * i, MAC_TEXT_LENGTH);
    text[MAC_TEXT_LENGTH] = '\0';
    mac_text_to_bytes(text, bridge);
    send_frame(frame, build_probe_request(frame, own, bridge));
    if (!link_pause(link_timing().unicast_probe_pause))
      break;
  }
  return 0;
}
