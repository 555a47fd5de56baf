// Finding the bridges on the wire: a broadcast probe on each usable host adapter in turn, the
// source MACs of the link frames that come back, then one unicast probe to each bridge found.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

#include "link/mac_text.h"

constexpr int DEVICE_LIST_SIZE = 1514; // room of the device list, with its zero
constexpr int MAX_DEVICES = (DEVICE_LIST_SIZE - 1) / MAC_TEXT_LENGTH; // 89 whole MAC texts

// Longest reply window of one adapter, in tick periods on the monotonic clock. Each frame taken
// starts a fresh wait, so a station that sends link frames without pause would otherwise keep
// the window open for ever.
constexpr int DISCOVERY_REPLY_WINDOW_TICKS = 8;

// Probes the adapters of `host_macs` (a MAC list of up to 500 characters) in order until one
// sees replies; then cuts `host_macs` down to that adapter, leaves the capture open on it and
// probes each bridge found. `device_list` (DEVICE_LIST_SIZE characters, zeroed by the caller)
// receives the bridges' MAC texts in the order their first frames came, once each. `frame` and
// `receive` (1514 bytes each) may be the same buffer. Returns 0 when a bridge was found, else -1.
int discover_devices(std::uint8_t* frame, std::uint8_t* receive, char* host_macs,
                     char* device_list);

// Whether a frame from `mac` may be listed as a bridge: one station (not a group address, which
// would reach every bridge at once), not the all-zero address, and none of this host's own
// adapters, those of `host_macs` (a MAC list) or of the last adapter listing.
bool could_be_bridge(const std::uint8_t* mac, const char* host_macs);

// One adapter's share of a discovery, on the capture already open on it (the calling thread's
// link channel): the broadcast probe from `own`, then the source of each link frame that comes
// back, until a wait passes the discovery tick limit or the reply window ends. Sources that
// could be bridges (see could_be_bridge, with `host_macs`) are appended to `device_list` once
// each; *count is its number of entries. `keep_listening`, when given, is asked after each new
// bridge: false ends the window at once. Returns true when a bridge answered.
bool collect_probe_replies(std::uint8_t* frame, std::uint8_t* receive, const std::uint8_t* own,
                           const char* host_macs, char* device_list, int* count,
                           const std::function<bool()>& keep_listening = nullptr);

// Sends the unicast probe from `own` to each of the first `count` bridges of `device_list`,
// pausing `pause` after each (none when zero). False when a stop cut a pause short.
bool probe_each_bridge(std::uint8_t* frame, const std::uint8_t* own, const char* device_list,
                       int count, std::chrono::milliseconds pause);
