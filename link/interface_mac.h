// An interface's own hardware address, from the kernel (SIOCGIFHWADDR).
#pragma once

#include <cstdint>

// Returns 0 with the six bytes in `mac` when `name` is an interface with an Ethernet address;
// -1 for anything else (no such interface, loopback, tunnels, pseudo-devices).
int read_interface_mac(const char* name, std::uint8_t* mac);
