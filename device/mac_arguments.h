// The MAC texts that the survey and the write receive: the own adapter's (the host list,
// whose first entry counts) and the bridge's.
#pragma once

#include <cstdint>

// Converts the first 17 characters of each text into an address (the 17-character text, or
// 12 hex digits). False when either does not hold six hex pairs.
bool procedure_macs(const char* own_mac_text, const char* bridge_mac_text, std::uint8_t* own,
                    std::uint8_t* bridge);
