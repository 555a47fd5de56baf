// The kernel filters of the helper's packet sockets. Each is attached and locked, so that
// nothing in this process can change or remove it afterwards.
#pragma once

#include <cstdint>
#include <string>

// A capture's: EtherType 0x8888 frames without a VLAN tag that arrive from the wire addressed
// to the adapter's own MAC or to broadcast. Never a frame this host sends (another user's
// settings write), never one for another station, multicast or not. 0, or -1 with the reason.
int lock_link_filter(int packet_socket, std::string* error);

// A probe watch's: `frame` exactly (its `size` bytes, no VLAN tag) as this host sends it, and
// nothing else. 0, or -1 with the reason.
int lock_outgoing_filter(int packet_socket, const std::uint8_t* frame, int size,
                         std::string* error);
