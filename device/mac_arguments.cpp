#include "device/mac_arguments.h"

#include <cstring>

#include "link/mac_text.h"

namespace {

bool first_mac_bytes(const char* text, std::uint8_t* mac) {
  if (text == nullptr)
    return false;
  char first[MAC_TEXT_SIZE] = {};
  std::memcpy(first, text, strnlen(text, MAC_TEXT_LENGTH));
  return mac_text_to_bytes(first, mac) == 0;
}

} // namespace

bool procedure_macs(const char* own_mac_text, const char* bridge_mac_text, std::uint8_t* own,
                    std::uint8_t* bridge) {
  return first_mac_bytes(own_mac_text, own) && first_mac_bytes(bridge_mac_text, bridge);
}
