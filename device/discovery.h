// Finding the bridges on the wire: a broadcast probe on each usable host adapter in turn, the
// source MACs of the link frames that come back, then one unicast probe to each bridge found.
#pragma once

#include <cstdint>

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
